#include "job/model_setup.hpp"

#include "input/echo.hpp"
#include "input/model.hpp"
#include "output/zone_plot.hpp"
#include "section/layer_state.hpp"
#include "section/slab_materials.hpp"

namespace korvant {

int setUpModel(ModelDeck& model, const Capacities& cap, const ModelCheck& check, Writer& report,
               Writer& zoneFile, WorkingFiles& files, int& CTOT) {
  int nerr = check.errors;
  INPRT(model, cap, report);
  checkColumnGrid(model, report, nerr);
  ZPLOT(model.ZONES, model.NZONE, zoneFile);
  CTOT = check.gridAccepted ? SLBMAT(model, files, report, nerr) : 0;
  writeDamageLaws(files.damageLaws, model.DLAWS, model.NLAW);
  if (nerr > 0) writeInputTermination(nerr, report);
  return nerr;
}

int readAndSetUp(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report,
                 Writer& zoneFile, WorkingFiles& files, int& CTOT) {
  const ModelCheck check = MODEL(deck, model, cap, report);
  return setUpModel(model, cap, check, report, zoneFile, files, CTOT);
}

}  // namespace korvant
