// The panel's named variables: 64-bit floats known by name to every gauge.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Id 0 is what a name never registered looks up as: it reads 0.0 and
// ignores writes, and no registered variable ever has it.
constexpr int32_t unknownVariableId = 0;

struct NamedVariables {
    std::unordered_map<std::string, int32_t> ids;
    std::vector<std::string> names{""};
    std::vector<double> values{0.0};
};

int32_t registerName(NamedVariables& variables, const std::string& name);
int32_t lookupName(const NamedVariables& variables, const std::string& name);
double readVariable(const NamedVariables& variables, int32_t id);
void writeVariable(NamedVariables& variables, int32_t id, double value);
