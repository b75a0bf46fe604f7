// What the host does with a gauge's element tree: text storage, the update
// of every element's sources and callback, and the check of the storage.
#pragma once

#include <functional>

#include "gauge_host.h"

// Calls visit for the element and everything below it, parents first.
void forEachElement(ElementHeader* root, const std::function<void(ElementHeader*)>& visit);

void installTextStorage(GaugeHost& host, ElementHeader* root);
void updateElements(GaugeHost& host, ElementHeader* root);
void checkTextStorage(GaugeHost& host, ElementHeader* root);
void releaseTextStorage(GaugeHost& host, ElementHeader* root);
