// The statement handlers, one per statement of the deck. Each reads its options from the
// statement line in ctx.line and its data lines from ctx.deck, and fills ctx.model.
#pragma once

#include "input/statement_context.hpp"

namespace korvant {

// Control, analysis and geometry statements
void handleStatus(StatementContext& ctx);
void handleDebug(StatementContext& ctx);
void handleHeading(StatementContext& ctx);
void handleDiagnostic(StatementContext& ctx);
void handleSolution(StatementContext& ctx);
void handleCoupling(StatementContext& ctx);
void handleZoneOverlap(StatementContext& ctx);
void handleUniformStress(StatementContext& ctx);
void handleEquationSolver(StatementContext& ctx);
void handleYieldingSolution(StatementContext& ctx);
void handleCrackingSolution(StatementContext& ctx);
void handleBoundaryDer(StatementContext& ctx);
void handleNeutral(StatementContext& ctx);
void handleSlab(StatementContext& ctx);
void handleColumn(StatementContext& ctx);
void handleDisc(StatementContext& ctx);
void handleFilePrint(StatementContext& ctx);
void handleGraphic(StatementContext& ctx);

// Table statements: materials, layers, zones, damage laws, loads and supports
void handleMaterial(StatementContext& ctx);
void handleLayer(StatementContext& ctx);
void handleZone(StatementContext& ctx);
void handleDamageLaw(StatementContext& ctx);
void handleDefaultPressure(StatementContext& ctx);
void handleNormalPressure(StatementContext& ctx);
void handleBoundary(StatementContext& ctx);

// The layout names of a library layout, for the console: "the layouts are 9-COLUMN, ...".
std::string layoutNamesHint();

}  // namespace korvant
