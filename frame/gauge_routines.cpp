#include "gauge_module.h"

namespace {
ElementHeader* rootElement() { return moduleLinkage.gaugeList[0]->elementList[0]; }
}  // namespace

void HOST_CALL gaugeQuery() { hostPanel().queryElementList(rootElement()); }
void HOST_CALL gaugeInstall(uint32_t value) { hostPanel().installElementList(rootElement(), value); }
void HOST_CALL gaugeInitialize() { hostPanel().initializeElementList(rootElement()); }
void HOST_CALL gaugeUpdate() { hostPanel().updateElementList(rootElement()); }
void HOST_CALL gaugeGenerate(uint32_t value) { hostPanel().generateElementList(rootElement(), value); }
void HOST_CALL gaugeDraw() { hostPanel().drawElementList(rootElement()); }
void HOST_CALL gaugeKill() { hostPanel().killElementList(rootElement()); }

void HOST_CALL moduleNoOp() {}
