// vapora-calc's library commands as a process: its printed values must be the library's
// own to the last bit, and bad input must give one line on stderr and status 2.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"
#include "properties/properties.h"

namespace {

// Runs vapora-calc with the space-separated words of arguments.
ProcessResult calc(const std::string& arguments) {
    std::istringstream split(arguments);
    std::vector<std::string> words = {VAPORA_CALC_PATH};
    for (std::string word; split >> word;) words.push_back(word);
    return run_process(words);
}

TEST(VaporaCalc, PrintsTheLibrarysValuesExactly) {
    struct Case { const char* arguments; double expected; };
    const Case cases[] = {
        {"sat_pressure 373.15", sat_pressure(373.15)},
        {"sub1_enthalpy 300 1e7", sub1_enthalpy(300, 1e7)},
        {"sat_temperature_refine 370 101325 1", sat_temperature_refine(370, 101325, 1)},
        {"sub3_volume 650 2.5e7", sub3_volume(650, 2.5e7)},
        {"sub4_entropy 640 0.002", sub4_entropy(640, 0.002)},
        {"sat_pressure 700", -1.0},  // out of range: the library's refusal
        {"sub4_volume 630 1.6e7", -1.0},
    };
    for (const Case& c : cases) {
        const ProcessResult run = calc(c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments;
        EXPECT_EQ(run.err, "") << c.arguments;
        ASSERT_FALSE(run.out.empty()) << c.arguments;
        EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one value per line: " << c.arguments;
        // %.17g round-trips a double exactly.
        EXPECT_EQ(std::strtod(run.out.c_str(), nullptr), c.expected) << c.arguments;
    }
    EXPECT_EQ(calc("sat_pressure 700").out, "-1\n");
}

TEST(VaporaCalc, ListsEveryFunctionAndItsVersion) {
    ProcessResult run = calc("--list");
    run.out.insert(0, "\n");  // every name then follows a newline
    EXPECT_EQ(run.status, 0);
    for (const char* name : {"l_boundary_beta", "sat_temperature_refine", "sub1_enthalpy", "sub2_entropy",
                             "sub3_pressure", "sub4_entropy", "critical_isotherm_volume",
                             "sat_liquid_volume_spline", "sub4_volume", "state", "batch"})
        EXPECT_NE(run.out.find(std::string("\n") + name + " "), std::string::npos) << name;
    EXPECT_NE(run.out.find("T [K], p [Pa] -> h [J/kg]"), std::string::npos);
    const ProcessResult version = calc("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vapora-calc " VAPORA_VERSION "\n");
}

TEST(VaporaCalc, BadInputIsOneLineOnStderrAndStatus2) {
    const char* cases[] = {
        "",                       // no function
        "no_such_function 1",     // unknown function
        "sat_pressure",           // too few arguments
        "sub1_volume 300 1e5 7",  // too many arguments
        "sat_pressure abc",       // not a number
        "sat_pressure 373.15x",   // trailing text
        "sat_pressure 12,5",      // a decimal comma
        "sat_pressure nan",       // not a finite number
        "sat_pressure 1e999",     // beyond a double
        "batch /nonexistent/rows.csv",
        "batch a.csv b.csv",
    };
    for (const char* arguments : cases) {
        const ProcessResult run = calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        ASSERT_FALSE(run.err.empty()) << arguments;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << arguments << ": " << run.err;
    }
    EXPECT_EQ(run_process({VAPORA_CALC_PATH, "sub1_volume", "300", ""}).status, 2);  // an empty word
}

}  // namespace
