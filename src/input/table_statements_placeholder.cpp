// Placeholder handlers for the table statements until they are built: the statement line
// is accepted and nothing is stored.
#include "input/statements.hpp"

namespace korvant {

void handleMaterial(StatementContext&) {}
void handleLayer(StatementContext&) {}
void handleZone(StatementContext&) {}
void handleDamageLaw(StatementContext&) {}
void handleDefaultPressure(StatementContext&) {}
void handleNormalPressure(StatementContext&) {}
void handleBoundary(StatementContext&) {}

}  // namespace korvant
