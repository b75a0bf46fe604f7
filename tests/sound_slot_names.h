// The sound gauge's default names for slot NN, as the tests and benchmarks use them.
#pragma once

#include <cstdio>
#include <string>

inline std::string slotVariable(int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "vorn_xml_id_%02d", slot);
    return name;
}

inline std::string slotFile(int slot) {
    char name[64];
    std::snprintf(name, sizeof name, "./Sound/vorn/vorn_xml_%02d.wav", slot);
    return name;
}
