#include "named_variables.h"

int32_t registerName(NamedVariables& variables, const std::string& name) {
    auto found = variables.ids.find(name);
    if (found != variables.ids.end()) return found->second;
    const int32_t id = int32_t(variables.values.size());
    variables.ids.emplace(name, id);
    variables.names.push_back(name);
    variables.values.push_back(0.0);
    return id;
}

int32_t lookupName(const NamedVariables& variables, const std::string& name) {
    auto found = variables.ids.find(name);
    return found == variables.ids.end() ? unknownVariableId : found->second;
}

double readVariable(const NamedVariables& variables, int32_t id) {
    if (id <= unknownVariableId || size_t(id) >= variables.values.size()) return 0.0;
    return variables.values[size_t(id)];
}

void writeVariable(NamedVariables& variables, int32_t id, double value) {
    if (id <= unknownVariableId || size_t(id) >= variables.values.size()) return;
    variables.values[size_t(id)] = value;
}
