// What every gauge module defines and what its gauge routines share: the
// exported records (named Linkage and ImportTable in the export table) and
// the host's panel table reached through them.
#pragma once

#include "host_panel.h"

extern "C" Linkage moduleLinkage;
extern "C" ImportTable moduleImportTable;

// The host writes the table's address before it calls anything in the module.
inline HostPanelTable& hostPanel() { return *moduleImportTable.panel.tablePointer; }

// The seven gauge routines: each forwards to the host's element-list
// operation with the root element of the module's first gauge.
void HOST_CALL gaugeQuery();
void HOST_CALL gaugeInstall(uint32_t value);
void HOST_CALL gaugeInitialize();
void HOST_CALL gaugeUpdate();
void HOST_CALL gaugeGenerate(uint32_t value);
void HOST_CALL gaugeDraw();
void HOST_CALL gaugeKill();

// The module's init and deinit routine: there is nothing to do at either.
void HOST_CALL moduleNoOp();

// The routines in GaugeHeader order, for a header's initialiser.
#define GAUGE_ROUTINES                                                   \
    .queryRoutine = gaugeQuery, .installRoutine = gaugeInstall,          \
    .initializeRoutine = gaugeInitialize, .updateRoutine = gaugeUpdate,  \
    .generateRoutine = gaugeGenerate, .drawRoutine = gaugeDraw,          \
    .killRoutine = gaugeKill

// The module's import table: one entry for the panel table, then the end.
#define MODULE_IMPORT_TABLE { {panelTableImportId, nullptr}, {0, nullptr} }
