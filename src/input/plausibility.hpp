// Values that are almost certainly in other units or misplaced. They are not errors: the
// deck carries no units, and a value may be meant. Each is noted for the console with the
// value and where it stands; nothing of it reaches the report, and --strict refuses none.
#pragma once

#include "core/model_deck.hpp"
#include "core/report_notes.hpp"

namespace korvant {

// A concrete modulus E that is not between 200 and 3,000 times the compressive strength XC.
// The moduli of the codes lie well inside: ACI 318-19 19.2.2.1, E = 4700 sqrt(f'c) (MPa),
// gives 1,050 f'c at 20 MPa and 470 f'c at 100 MPa; EN 1992-1-1 Table 3.1, Ecm =
// 22 (fcm/10)^0.3 GPa, gives 1,700 fck for C12/15 and 450 fck for C90/105.
void adviseConcreteModulus(double id, double E, double XC, ReportNotes& notes);

// A cracking tolerance above 1: the tolerance is a fraction, not a percentage.
void adviseTolerance(double CRKTOL, ReportNotes& notes);

// A steel layer thicker than a tenth of its zone's slab: a smeared layer of bars is as thick
// as its steel area over its width (bar area / spacing), a millimetre or two.
void adviseSteelLayers(const ModelDeck& m, ReportNotes& notes);

// A linear deflection larger than a tenth of the shorter span: the pressure and the moduli
// are almost certainly in units that do not agree.
void adviseDeflection(double w, double A, double B, ReportNotes& notes);

}  // namespace korvant
