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

namespace {

// Under --strict every warning of the input, and every console note of a deck read perhaps
// not as meant, is an input error; one line of the report counts them.
int strictErrors(Writer& report) {
  const ReportNotes* notes = report.notes();
  if (!notes) return 0;
  const int n = notes->count(NoticeKind::Warning) + notes->count(NoticeKind::Caution);
  if (n > 0)
    report.line("***ERROR:", fmt::I(5, n), " WARNING", n == 1 ? " IS AN" : "S ARE", " INPUT ERROR",
                n == 1 ? "" : "S", " UNDER --strict");
  return n;
}

}  // namespace

int readAndSetUp(DeckReader& deck, ModelDeck& model, const Capacities& cap, Writer& report,
                 Writer& zoneFile, WorkingFiles& files, int& CTOT, bool strict) {
  ModelCheck check = MODEL(deck, model, cap, report);
  if (strict) check.errors += strictErrors(report);
  return setUpModel(model, cap, check, report, zoneFile, files, CTOT);
}

}  // namespace korvant
