// vapora-calc run as a process: its printed values must be the library's own
// to the last bit, and bad input must give one line on stderr and status 2.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "properties/properties.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

std::string read_file(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// Runs vapora-calc with the given (shell-quoted) arguments.
Outcome calc(const std::string& arguments) {
  const std::string err_path = testing::TempDir() + "calc_test_stderr.txt";
  const std::string command =
      std::string("'") + VAPORA_CALC_PATH + "' " + arguments + " 2>'" + err_path + "'";
  Outcome run{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.err = read_file(err_path);
  return run;
}

TEST(VaporaCalc, PrintsTheLibrarysValuesExactly) {
  struct Case { const char* arguments; double expected; };
  const Case cases[] = {
      {"sat_pressure 373.15", sat_pressure(373.15)},
      {"sub1_enthalpy 300 1e7", sub1_enthalpy(300, 1e7)},
      {"sat_temperature_refine 370 101325 1", sat_temperature_refine(370, 101325, 1)},
      {"sub3_volume 650 2.5e7", sub3_volume(650, 2.5e7)},
      {"sub4_entropy 640 0.002", sub4_entropy(640, 0.002)},
      {"sat_pressure 700", -1.0},      // out of range: the library's refusal
      {"sub4_volume 630 1.6e7", -1.0},
  };
  for (const Case& c : cases) {
    const Outcome run = calc(c.arguments);
    EXPECT_EQ(run.status, 0) << c.arguments;
    EXPECT_EQ(run.err, "") << c.arguments;
    ASSERT_EQ(run.out.back(), '\n') << c.arguments;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one value per line: " << c.arguments;
    // %.17g round-trips a double exactly.
    EXPECT_EQ(std::strtod(run.out.c_str(), nullptr), c.expected) << c.arguments;
  }
  EXPECT_EQ(calc("sat_pressure 700").out, "-1\n");
}

TEST(VaporaCalc, ListsEveryFunction) {
  Outcome run = calc("--list");
  run.out.insert(0, "\n");  // every name then follows a newline
  EXPECT_EQ(run.status, 0);
  const char* names[] = {"l_boundary_beta", "sat_pressure", "sat_temperature_refine",
                         "sat_temperature", "sub1_volume", "sub1_enthalpy", "sub1_entropy",
                         "sub2_volume", "sub2_enthalpy", "sub2_entropy", "sub3_pressure",
                         "sub3_enthalpy", "sub3_entropy", "sub4_pressure", "sub4_enthalpy",
                         "sub4_entropy", "critical_isotherm_volume",
                         "sat_liquid_volume_spline", "sub3_volume",
                         "sub4_sat_liquid_volume", "sub4_volume"};
  for (const char* name : names)
    EXPECT_NE(run.out.find(std::string("\n") + name + " "), std::string::npos) << name;
  EXPECT_NE(run.out.find("T [K], p [Pa] -> h [J/kg]"), std::string::npos);
}

TEST(VaporaCalc, BadInputIsOneLineOnStderrAndStatus2) {
  const char* cases[] = {
      "",                          // no function
      "no_such_function 1",        // unknown function
      "sat_pressure",              // too few arguments
      "sub1_volume 300 1e5 7",     // too many arguments
      "sat_pressure abc",          // not a number
      "sat_pressure 373.15x",      // trailing text
      "sub1_volume 300 ''",        // empty word
      "sat_pressure nan",          // not a finite number
      "sat_pressure 1e999",        // beyond a double
  };
  for (const char* arguments : cases) {
    const Outcome run = calc(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    ASSERT_FALSE(run.err.empty()) << arguments;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << arguments << ": " << run.err;
  }
}

}  // namespace
