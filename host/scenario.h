// gaugehost's scenario scripts: one command a line, run in order.
#pragma once

#include <iosfwd>
#include <string>

#include "gauge_renderer.h"

enum ScenarioStatus { scenarioPassed = 0, scenarioExpectationFailed = 1, scenarioError = 2 };

// Runs the script's lines; says what failed on err, what was printed on out.
ScenarioStatus runScenario(std::istream& script, const std::string& scriptName, std::ostream& out, std::ostream& err);
