#include "element_walk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void fillSource(GaugeHost& host, ModuleVariable& source) {
    if (source.varId != 0) source.varValue = hostVariable(host.variables, source.varId);
}

bool guardsIntact(const TextStorage& storage) {
    const char* guard = storage.bytes.data() + storage.capacity;
    return std::all_of(guard, guard + textGuardBytes, [](char c) { return c == textGuardByte; });
}

bool terminated(const TextStorage& storage) {
    return std::memchr(storage.bytes.data(), '\0', storage.capacity) != nullptr;
}

void checkStorage(GaugeHost& host, StringElement* element) {
    auto found = host.texts.find(element);
    if (found == host.texts.end()) return;
    TextStorage& storage = found->second;
    if (guardsIntact(storage) && terminated(storage)) return;
    char message[160];
    std::snprintf(message, sizeof message, "text of the string element at %d,%d overran its %u bytes",
                  int(element->header.positionX), int(element->header.positionY), unsigned(storage.capacity));
    host.errors.push_back(message);
    std::fill(storage.bytes.begin() + ptrdiff_t(storage.capacity), storage.bytes.end(), textGuardByte);
    storage.bytes[storage.capacity - 1] = '\0';
}

void updateString(GaugeHost& host, StringElement* element) {
    for (ModuleVariable& source : element->sources) fillSource(host, source);
    if (element->textCallback == nullptr) return;
    element->textCallback(element);
    checkStorage(host, element);
}

void updateIcon(GaugeHost& host, IconElement* element) {
    fillSource(host, element->source);
    host.iconResults[element] = element->iconCallback ? element->iconCallback(element) : element->source.varValue;
}

}  // namespace

void forEachElement(ElementHeader* root, const std::function<void(ElementHeader*)>& visit) {
    if (root == nullptr) return;
    visit(root);
    if (root->children == nullptr) return;
    for (ElementHeader** child = root->children; *child != nullptr; ++child) forEachElement(*child, visit);
}

void installTextStorage(GaugeHost& host, ElementHeader* root) {
    forEachElement(root, [&](ElementHeader* element) {
        if (element->elementKind != elementString) return;
        auto* text = reinterpret_cast<StringElement*>(element);
        TextStorage& storage = host.texts[text];
        storage.capacity = size_t(std::max<int32_t>(text->charCount, 0)) + 1;
        storage.bytes.assign(storage.capacity + textGuardBytes, textGuardByte);
        storage.bytes[0] = '\0';
        text->textBuffer = storage.bytes.data();
    });
}

// Every element is updated, hidden ones too: gauges count time in callbacks.
void updateElements(GaugeHost& host, ElementHeader* root) {
    forEachElement(root, [&](ElementHeader* element) {
        if (element->elementKind == elementString) updateString(host, reinterpret_cast<StringElement*>(element));
        if (element->elementKind == elementIcon) updateIcon(host, reinterpret_cast<IconElement*>(element));
    });
}

void checkTextStorage(GaugeHost& host, ElementHeader* root) {
    forEachElement(root, [&](ElementHeader* element) {
        if (element->elementKind == elementString) checkStorage(host, reinterpret_cast<StringElement*>(element));
    });
}

void releaseTextStorage(GaugeHost& host, ElementHeader* root) {
    forEachElement(root, [&](ElementHeader* element) {
        if (element->elementKind != elementString) return;
        auto* text = reinterpret_cast<StringElement*>(element);
        text->textBuffer = nullptr;
        host.texts.erase(text);
    });
}
