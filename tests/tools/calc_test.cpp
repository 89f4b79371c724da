// vapora-calc as a process: the library's values to the last bit, the state, turbine,
// point and batch commands in display units, and bad input as one line on stderr with
// status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "process.h"
#include "properties/properties.h"
#include "solvers/steam_state.h"

namespace {

// Runs vapora-calc with the space-separated words of arguments (output as run_process).
ProcessResult calc(const std::string& arguments, const std::string& input = "",
                   const std::string& out = "") {
    std::istringstream split(arguments);
    std::vector<std::string> words = {VAPORA_CALC};
    for (std::string word; split >> word;) words.push_back(word);
    return run_process(words, input, out);
}

const std::string header = "pair,a,b,c,d,t_C,p_bar,h_kJ_kg,s_kJ_kgC,v_m3_kg,x,status\n";

// The "name value" lines of an answer, each value as printed.
std::map<std::string, std::string> answer(const std::string& arguments) {
    std::map<std::string, std::string> values;
    std::istringstream lines(calc(arguments).out);
    for (std::string name, value; lines >> name >> value;) values[name] = value;
    return values;
}

// A state's values as the batch's columns t to x, each followed by a comma.
std::string columns(const std::string& arguments, const std::string& prefix = "") {
    std::map<std::string, std::string> values = answer(arguments);
    std::string row;
    for (const char* name : {"t", "p", "h", "s", "v", "x"}) row += values[prefix + name] + ",";
    return row;
}

// The library's functions by name, each value to the last bit; the list of commands and
// the version.
TEST(VaporaCalc, PrintsTheLibrarysValuesExactlyListsItsCommandsAndVersion) {
    const std::pair<const char*, double> cases[] = {
        {"sat_pressure 373.15", sat_pressure(373.15)},
        {"sub1_enthalpy 300 1e7", sub1_enthalpy(300, 1e7)},
        {"sat_temperature_refine 370 101325 1", sat_temperature_refine(370, 101325, 1)},
    };
    for (const auto& [arguments, expected] : cases) {
        const ProcessResult run = calc(arguments);
        EXPECT_TRUE(run.status == 0 && run.err.empty()) << arguments;
        char* end = nullptr;  // one value on its own line, its digits giving the double back
        EXPECT_EQ(std::strtod(run.out.c_str(), &end), expected) << arguments;
        EXPECT_STREQ(end, "\n") << arguments;
    }
    const std::string list = calc("--list").out;
    EXPECT_NE(list.find("\nsub1_enthalpy              T [K] 273.15..623.15, p [Pa] "
                        "sat_pressure(T)..1e8 -> h [J/kg]\n"),
              list.npos);
    // The library's 21 functions, then state, turbine, point and batch; --help lists them.
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 25);
    EXPECT_NE(calc("--help").out.find(list), std::string::npos);
    EXPECT_EQ(calc("--version").out, "vapora-calc " VAPORA_VERSION "\n");
}

TEST(VaporaCalc, BadInputIsOneLineOnStderrAndStatus2) {
    // No function, an unknown one, too few and too many arguments, not a number, a decimal
    // comma, an exponent without digits, beyond a double; bad pair codes and files.
    for (const char* arguments :
         {"", "no_such_function 1", "sat_pressure", "sub1_volume 300 1e5 7", "sat_pressure abc",
          "sat_pressure 12,5", "sat_pressure 373.15e+", "sat_pressure 1e999", "state t_p_ 1 2",
          "point abc 1", "batch /nonexistent/rows.csv", "batch - -", "--bogus", "--list 1",
          // Outside a function's range, and where the library has no value: no nan, no inf.
          "sat_pressure -5", "sat_pressure 700", "sub2_volume 0 0", "sub1_enthalpy 5000 1e7",
          "sub1_volume 300 1e3", "sub2_entropy 400 1e6", "sub3_pressure 700 0.1",
          "sub4_enthalpy 630 0.0001", "sub3_volume 700 1e7", "sat_temperature_refine 370 1e5 0",
          "critical_isotherm_volume 1e7", "l_boundary_beta 2"}) {
        const ProcessResult run = calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_TRUE(run.err.size() > 1 && run.err.find('\n') == run.err.size() - 1)
            << arguments << ": " << run.err;
    }
    EXPECT_EQ(run_process({VAPORA_CALC, "sub1_volume", "300", ""}).status, 2);  // an empty word
}

// Each pair code reaches its own solver, in degC, bar and kJ/kg, the window's or the
// converged one; the guards' refusals.
TEST(CalcState, PairsRefusalsTurbineAndPoint) {
    // clang-format off
    const std::tuple<const char*, const char*, double, double> cases[] = {
        {"state t_p 100 1", "s", 7.3618, 0.0001}, {"state t,x 100 0.5", "p", 1.0132, 0.001},
        {"state p,h 1 50", "t", 12, 1},           {"state t,h 20 2400", "x", 0.94, 0.05},
        {"state t_s 300 6", "p", 65.05, 0.01},    {"state p_s 10 6.5", "t", 180, 1},
        {"state p_x 1 1", "t", 99.63, 0.01},      {"point 4 100", "p", 1.0132, 0.001},
        {"state --converged p_h 100 3374.5982390584541", "t", 500, 1e-9},
        {"state --converged t_x 100 0.5", "p", 1.0132526, 1e-7}};
    // clang-format on
    for (const auto& [arguments, name, value, tolerance] : cases)
        EXPECT_NEAR(std::stod(answer(arguments)[name]), value, tolerance) << arguments;
    const std::pair<const char*, const char*> refusals[] = {
        {"state t,p 800 1", "Data out of range, please retry\n"},
        {"state t,p 100 1e-320", "Data out of range, please retry\n"},  // a number, below the range
        {"turbine 100 500 0.1 120", "Data out of range, please retry\n"},
        {"point 5 5", "The point selected is outside the valid space\n"},
    };
    for (const auto& [arguments, out] : refusals) {
        const ProcessResult run = calc(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(run.out, out) << arguments;
    }
    EXPECT_EQ(answer("state t,x 100 -0")["x"], "0");
    // Every digit printed: the solver's own doubles come back.
    double h, s, v, x;
    state_from_t_p(300, 10, &h, &s, &v, &x);
    std::map<std::string, std::string> state = answer("state t_p 300 10");
    EXPECT_TRUE(std::stod(state["h"]) == h / 1000 && std::stod(state["s"]) == s / 1000 &&
                std::stod(state["v"]) == v && std::stod(state["x"]) == x);
}

TEST(CalcBatch, AnswersEveryRowInOrderAsStateDoes) {
    const std::string refused = ",,,,,,,\"Data out of range, please retry\"",
                      unknown = "bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)";
    // Each input line and its answer; a comment, a blank line and the header have none.
    const std::pair<std::string, std::string> rows[] = {
        {"\xEF\xBB\xBFpair,a,b\r", ""},
        {"# a comment", ""},
        {"", ""},
        {" t_h , 20 , 2400 ", "t_h,20,2400,,," + columns("state t,h 20 2400") + "ok"},
        {"p_s,10,6.5,,", "p_s,10,6.5,,," + columns("state p,s 10 6.5") + "ok"},
        {"turbine,100,500,0.1,85",
         "turbine,100,500,0.1,85," + columns("turbine 100 500 0.1 85", "outlet_") + "ok"},
        {"t_p,800,1", "t_p,800,1,," + refused},
        {"turbine,100,500,0.1,120", "turbine,100,500,0.1,120" + refused},
        {"t_p,abc,1", "t_p,abc,1,,,,,,,,,bad row: a is not a number"},
        {"pair,1,2", "pair,1,2,,,,,,,,," + unknown},
        {"t_p,1,2,3", "t_p,1,2,3,,,,,,,,bad row: a pair takes 2 numbers"},
        {"turbine,1,2", "turbine,1,2,,,,,,,,,bad row: turbine takes 4 numbers"},
        {"\"x\",1", "x,1,,,,,,,,,," + unknown},
        {"p_x,1,0", "p_x,1,0,,," + columns("state p,x 1 0") + "ok"}};
    std::string input, expected = header;
    for (const auto& [line, answer] : rows)
        input += line + "\n", expected += answer.empty() ? "" : answer + "\n";
    input.pop_back();  // the last line without its newline
    for (const char* source : {"-", ""}) {
        const ProcessResult run = calc(std::string("batch ") + source, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected);
    }
    // With --converged as state and turbine answer with it.
    EXPECT_EQ(calc("batch --converged", "p_h,100,3000\nturbine,100,500,0.1,85").out,
              header + "p_h,100,3000,,," + columns("state --converged p_h 100 3000") + "ok\n" +
                  "turbine,100,500,0.1,85," +
                  columns("turbine --converged 100 500 0.1 85", "outlet_") + "ok\n");
}

// What spreadsheets write: quoted fields (a doubled quote inside), CRLF and CR line ends, a
// byte-order mark; a quote left open and a line beyond 64 kB are one bad row each. Text
// that is not UTF-8 is refused whole, from a file and from a pipe.
TEST(CalcBatch, ReadsCsvAsSpreadsheetsWriteItAndRefusesOtherText) {
    const std::string ok = "t_p,300,10,,," + columns("state t_p 300 10") + "ok\n",
                      bad = ",,,,,,,,,bad row: ",
                      unknown = bad + "unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)\n";
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBF\"t_p\",\"300\", \"10\" \r\n\r\n", ok},
        {"t_p,300,10\r\rt_p,300,10\r", ok + ok},
        {"\"t\"\"p\",1,2\n", "\"t\"\"p\",1,2" + unknown},
        {"\"t_p,300,10\nt_p,300,10",
         "\"t_p,300,10\",," + bad + "a quote left open or followed by text\n" + ok},
        {std::string(70000, ',') + "\nt_p,300,10", ",," + bad + "longer than 65536 bytes\n" + ok},
    };
    for (const auto& [input, answers] : cases)
        EXPECT_EQ(calc("batch", input).out, header + answers);
    const std::pair<std::string, const char*> refused[] = {
        {std::string("\xFF\xFEt\0_\0", 6), "UTF-16"},
        {std::string("t\0_\0p\0", 6), "UTF-16"},
        {"t_p,300,10\nt_p,\xC3\x28,1\n", "not UTF-8"},
        {"t_p,300,10\nt_p,3\xED\xA0\x80\n", "not UTF-8"}};  // a surrogate
    for (const auto& [input, reason] : refused) {
        const ProcessResult run = calc("batch", input);
        EXPECT_TRUE(run.status == 2 && run.out.empty() && run.err.find(reason) != run.err.npos &&
                    run.err.find('\n') == run.err.size() - 1)
            << run.err;
        Conversation pipe = start_conversation({VAPORA_CALC, "batch"});
        std::string out = "unread";
        EXPECT_TRUE(write(pipe.to, input.data(), input.size()) > 0 &&
                    end_conversation(&pipe, &out) == 2 && out.empty())
            << reason << ": " << out;
    }
}

// Row by row through pipes: each answer arrives before the next row is written.
TEST(CalcBatch, ConversesRowByRowThroughPipes) {
    Conversation c = start_conversation({VAPORA_CALC, "batch"});
    for (const std::string row : {"t_p,300,10\n", "p_x,1,0\n", "t_p,800,1\n"}) {
        ASSERT_EQ(write(c.to, row.data(), row.size()), ssize_t(row.size()));
        std::string answer = read_line(&c, 5000);
        if (answer == header) answer = read_line(&c, 5000);
        EXPECT_EQ(answer.compare(0, row.size() - 1, row, 0, row.size() - 1), 0) << row;
    }
    EXPECT_EQ(end_conversation(&c), 0);
}

// Output lost on the way is never a success: one line naming standard output and why,
// status 1. A batch and the list into a full device, a batch into a full disk
// (as root); a batch into a closed pipe with SIGPIPE ignored, as a Python subprocess has it.
TEST(VaporaCalc, AFailedWriteIsStatus1WithItsReason) {
    std::string rows;
    for (int i = 0; i < 3000; ++i) rows += "t_p,300,10\n";
    const std::string disk = mount_small_disk("calc_disk"), full = "No space left on device";
    std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"batch", "/dev/full", full}, {"--list", "/dev/full", full}, {"batch", "|", "Broken pipe"}};
    if (!disk.empty()) cases.emplace_back("batch", disk + "/answers.csv", full);
    for (const auto& [arguments, out, reason] : cases) {
        const ProcessResult run = calc(arguments, rows, out);
        EXPECT_TRUE(run.status == 1 &&
                    run.err == "vapora-calc: cannot write standard output: " + reason + "\n")
            << arguments << " > " << out << ": " << run.err;
    }
    if (disk.empty()) GTEST_SKIP() << "not root: the batch into a full tmpfs was not tried";
    unmount_small_disk(disk);
}

}  // namespace
