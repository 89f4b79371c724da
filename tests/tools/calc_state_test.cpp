// vapora-calc's state, turbine, point and batch commands through the real process: what
// they print and their exit status, and a batch that answers every row as state does.
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "process.h"
#include "solvers/steam_state.h"

namespace {

ProcessResult calc(const std::string &arguments, const std::string &input = "")
{
    std::istringstream split(arguments);
    std::vector<std::string> words = {VAPORA_CALC};
    for (std::string word; split >> word;)
        words.push_back(word);
    return run_process(words, input);
}

// "name value" lines into a map.
std::map<std::string, double> values_of(const std::string &out)
{
    std::map<std::string, double> r;
    std::istringstream lines(out);
    std::string name;
    double value;
    while (lines >> name >> value)
        r[name] = value;
    return r;
}

TEST(CalcState, PairsAndRefusals)
{
    struct Case {
        const char *args;
        int status;
        const char *name;
        double value, tolerance;
    };
    const Case cases[] = {
        {"state t,p 100 1", 0, "h", 2676.18, 0.01},
        {"state t_p 100 1", 0, "s", 7.3618, 0.0001},
        {"state t,x 100 0.5", 0, "p", 1.0132, 0.001},
        {"state p,h 1 50", 0, "t", 12, 1},
        {"state t,h 20 2400", 0, "x", 0.94, 0.05},
        {"state p_s 10 6.5", 0, "t", 180, 1},
        {"state p,s 100 9", 1, "", 0, 0},
        {"state p,s 1 0.05", 1, "", 0, 0},
        {"state t,p 800 1", 1, "", 0, 0},
        {"state p,x 1 1.5", 1, "", 0, 0},
        {"state t,p 100 1e-320", 1, "", 0, 0}, // a number, below the pressure range
        {"turbine 100 500 0.1 120", 1, "", 0, 0},
        {"state q,r 1 2", 2, "", 0, 0},
        {"state t_p_ 1 2", 2, "", 0, 0},
        {"point abc 1", 2, "", 0, 0},
    };
    for (const Case &c : cases) {
        const ProcessResult r = calc(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        if (c.status == 0) {
            EXPECT_NEAR(values_of(r.out)[c.name], c.value, c.tolerance) << c.args;
        } else if (c.status == 1) {
            EXPECT_EQ(r.out, "Data out of range, please retry\n") << c.args;
        }
    }
    EXPECT_NE(calc("state t,x 100 -0").out.find("\nx 0\n"), std::string::npos);
    // Printed in kJ with every digit: the solver's own doubles come back.
    double h, s, v, x;
    state_from_t_p(300, 10, &h, &s, &v, &x);
    std::map<std::string, double> r = values_of(calc("state t_p 300 10").out);
    EXPECT_TRUE(r["h"] == h / 1000 && r["s"] == s / 1000 && r["v"] == v && r["x"] == x);
}

TEST(CalcState, TurbineAndDiagramPoint)
{
    std::map<std::string, double> v = values_of(calc("turbine 100 500 0.1 85").out);
    EXPECT_EQ(v["inlet_t"], 500);
    EXPECT_EQ(v["isentropic_s"], v["inlet_s"]);
    EXPECT_EQ(v["isentropic_p"], 0.1);
    EXPECT_GT(v["outlet_h"], v["isentropic_h"]);
    EXPECT_LT(v["outlet_h"], v["inlet_h"]);
    v = values_of(calc("point 4 100").out);
    EXPECT_EQ(v["s"], 4);
    EXPECT_NEAR(v["p"], 1.0132, 0.001);
    const ProcessResult out = calc("point 5 5");
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.out, "The point selected is outside the valid space\n");
}

// The state columns vapora-calc state (or turbine, its outlet) prints for the same input.
std::string state_columns(const std::string &arguments, const char *prefix)
{
    std::istringstream lines(calc(arguments).out);
    std::string columns, name, value;
    while (lines >> name >> value)
        if (name.rfind(prefix, 0) == 0 && name.size() == std::string(prefix).size() + 1)
            columns += value + ",";
    return columns;
}

TEST(CalcBatch, AnswersEveryRowInOrderAsStateDoes)
{
    const char *const refused = ",,,,,,,\"Data out of range, please retry\"";
    const std::string input = "pair,a,b\r\n# a comment\n\n"
                              "t_p,100,1\n t_h , 20 , 2400 \np_h,1,50\nt_s,300,6\n"
                              "p_s,10,6.5,,\nt_x,100,0.5\np_x,1,1\n"
                              "turbine,100,500,0.1,85\n"
                              "t_p,800,1\np_x,1,1.5\nturbine,100,500,0.1,120\n"
                              "t,p,100,1\nt_p,1\nt_p,abc,1\nq_r,1,2\npair,1,2\nt_p,1,2,3\n\"x\",1\n"
                              "p_x,1,0";
    const std::string expected[] = {
        "pair,a,b,c,d,t_C,p_bar,h_kJ_kg,s_kJ_kgC,v_m3_kg,x,status",
        "t_p,100,1,,," + state_columns("state t,p 100 1", "") + "ok",
        "t_h,20,2400,,," + state_columns("state t,h 20 2400", "") + "ok",
        "p_h,1,50,,," + state_columns("state p,h 1 50", "") + "ok",
        "t_s,300,6,,," + state_columns("state t,s 300 6", "") + "ok",
        "p_s,10,6.5,,," + state_columns("state p,s 10 6.5", "") + "ok",
        "t_x,100,0.5,,," + state_columns("state t,x 100 0.5", "") + "ok",
        "p_x,1,1,,," + state_columns("state p,x 1 1", "") + "ok",
        "turbine,100,500,0.1,85," + state_columns("turbine 100 500 0.1 85", "outlet_") + "ok",
        std::string("t_p,800,1,,") + refused,
        std::string("p_x,1,1.5,,") + refused,
        std::string("turbine,100,500,0.1,120") + refused,
        "t,p,100,1,,,,,,,,bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)",
        "t_p,1,,,,,,,,,,bad row: a pair takes 2 numbers",
        "t_p,abc,1,,,,,,,,,bad row: a is not a number",
        "q_r,1,2,,,,,,,,,bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)",
        "pair,1,2,,,,,,,,,bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)",
        "t_p,1,2,3,,,,,,,,bad row: a pair takes 2 numbers",
        "\"\"\"x\"\"\",1,,,,,,,,,,bad row: unknown pair code (t_p t_h p_h t_s p_s t_x p_x turbine)",
        "p_x,1,0,,," + state_columns("state p,x 1 0", "") + "ok",
    };
    for (const char *source : {"-", ""}) {
        const ProcessResult r = calc(std::string("batch ") + source, input);
        EXPECT_EQ(r.status, 0) << r.err;
        std::istringstream rows(r.out);
        std::string row;
        for (const std::string &want : expected) {
            ASSERT_TRUE(std::getline(rows, row)) << "missing: " << want;
            EXPECT_EQ(row, want);
        }
        EXPECT_FALSE(std::getline(rows, row)) << "extra: " << row;
    }
}

} // namespace
