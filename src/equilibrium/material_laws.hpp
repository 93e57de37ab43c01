// The uniaxial laws of the equilibrium analysis: total strain, secant, for monotonic
// loading. A stress is a function of the strain reached; the secant modulus is the stress
// over the strain, and a layer never takes back a secant larger than one it has had
// (LayerMemory), so that unloading goes back to the origin along the smallest secant.
// Strains and stresses are positive in tension.
#pragma once

#include <optional>
#include <string_view>

namespace korvant::equilibrium {

// The average tensile stress of cracked concrete where bars cross the cracks.
enum class TensionStiffening {
  VecchioCollins,   // XT / (1 + sqrt(200 e1)), Vecchio & Collins 1986
  CollinsMitchell,  // XT / (1 + sqrt(500 e1)), Collins & Mitchell 1991
  None              // no tensile stress once cracked
};

inline constexpr TensionStiffening kDefaultStiffening = TensionStiffening::VecchioCollins;

// The law of a name, as a user gives it: "200", "500" or "none"; nothing for another name.
std::optional<TensionStiffening> tensionStiffeningNamed(std::string_view name);

struct ConcreteLaw {
  double E = 0.0;   // initial modulus
  double nu = 0.0;  // Poisson ratio while uncracked
  double XT = 0.0;  // tensile strength
  double XC = 0.0;  // compressive strength (positive)
  // The width over which crushing localises, the grid spacing (crushingBand); 0: the
  // concrete carries nothing at once past kCrushingStrain.
  double band = 0.0;
  // The deck's unit of stress in MPa (1 in N and mm, 0.001 in kN and m), for the one law that
  // is not free of units, the fracture energy; its energy per area, N/mm = kN/m, needs none.
  double MPa = 1.0;
};

struct SteelLaw {
  double Es = 0.0;         // modulus
  double fy = 0.0;         // yield stress
  double hardening = 0.0;  // slope after yield as a fraction of Es
};

// The crushing strain: the compressive strain beyond which concrete carries nothing
// (EN 1992-1-1, Table 3.1, ecu2 = 0.0035 up to C50/60).
inline constexpr double kCrushingStrain = 0.0035;

// The compressive fracture energy, the work per unit area of a crushing band past the peak
// stress: 8.8 sqrt(XC) N/mm with XC in MPa (Nakamura & Higai 2001, "Compressive fracture
// energy and fracture zone length of concrete"), 48 N/mm for XC = 30; XC in the deck's units
// times ConcreteLaw::MPa.
double crushingEnergy(const ConcreteLaw& c);

// The strain at which crushed concrete carries nothing: past kCrushingStrain the stress falls
// linearly from XC to 0, the area under the whole branch past the peak strain (the flat part
// and the fall) being crushingEnergy over the band (the crack band of Bazant & Oh 1983, in
// compression after Feenstra & de Borst 1995), so that the work a hinge spends in crushing
// does not depend on the grid. kCrushingStrain when the band is 0 or the flat part already
// holds that energy.
double crushedStrain(const ConcreteLaw& c);

// The strain at the peak of the compression parabola: 2 XC / E, so that the parabola starts
// with the tangent E of the elastic solution (Hognestad 1951), but no beyond kCrushingStrain.
double peakStrain(const ConcreteLaw& c);

// The strain at first cracking, XT / E.
double crackingStrain(const ConcreteLaw& c);

// Concrete in compression at the strain e <= 0 (returns a stress <= 0): the Hognestad (1951)
// parabola XC [2 r - r^2], r = e / e0, to the peak strain e0 = peakStrain, then XC flat to
// kCrushingStrain (the parabola-rectangle of EN 1992-1-1, 3.1.7), then linearly down to 0 at
// crushedStrain (crushed).
double compressionStress(double e, const ConcreteLaw& c);

// Concrete in tension at the strain e >= 0: E e up to XT, then the law `ts` (0 with None),
// never more than `capacity`, the stress the bars crossing the crack can still pass to it.
double tensionStress(double e, const ConcreteLaw& c, TensionStiffening ts, double capacity);

// Steel along the bars: elastic to fy, then fy plus the hardening slope (either sign).
double steelStress(double e, const SteelLaw& s);

// A stress over its strain; `initial` at zero strain.
double secantOf(double stress, double e, double initial);

}  // namespace korvant::equilibrium
