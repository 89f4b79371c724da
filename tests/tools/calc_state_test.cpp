// vapora-calc state / turbine / point through the real process: what it
// prints and its exit status.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include <sys/wait.h>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status;
    std::string out;
};

Outcome run(const std::string &args)
{
    const std::string command = std::string(VAPORA_CALC) + " " + args + " 2>/dev/null";
    Outcome r{-1, ""};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        r.out += buffer;
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
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

TEST(CalcState, PrintsSixValuesWithSeventeenDigits)
{
    const Outcome r = run("state t,p 100 1");
    ASSERT_EQ(r.status, 0) << r.out;
    std::map<std::string, double> v = values_of(r.out);
    ASSERT_EQ(v.size(), 6u) << r.out;
    EXPECT_EQ(v["t"], 100);
    EXPECT_EQ(v["p"], 1);
    EXPECT_NEAR(v["h"], 2676, 2);    // kJ/kg
    EXPECT_NEAR(v["s"], 7.36, 0.01); // kJ/kg degC
    EXPECT_EQ(v["x"], 1);
    EXPECT_NE(r.out.find("\nh 2676."), std::string::npos);
    EXPECT_EQ(r.out.find('\n', r.out.find("\nh ") + 1) - r.out.find("\nh ") - 3, 18u) << r.out;
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
        {"state t,x 100 0.5", 0, "p", 1.0132, 0.001},
        {"state p,h 1 50", 0, "t", 12, 1},
        {"state t,h 20 2400", 0, "x", 0.94, 0.05},
        {"state p,s 10 6.5", 0, "t", 180, 1},
        {"state p,s 100 9", 1, "", 0, 0},
        {"state p,s 1 0.05", 1, "", 0, 0},
        {"state t,p 800 1", 1, "", 0, 0},
        {"state p,x 1 1.5", 1, "", 0, 0},
        {"state q,r 1 2", 2, "", 0, 0},
        {"point abc 1", 2, "", 0, 0},
    };
    for (const Case &c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        if (c.status == 0) {
            EXPECT_NEAR(values_of(r.out)[c.name], c.value, c.tolerance) << c.args;
        } else if (c.status == 1) {
            EXPECT_EQ(r.out, "Data out of range, please retry\n") << c.args;
        }
    }
}

TEST(CalcState, Turbine)
{
    const Outcome r = run("turbine 100 500 0.1 85");
    ASSERT_EQ(r.status, 0) << r.out;
    std::map<std::string, double> v = values_of(r.out);
    EXPECT_EQ(v["inlet_t"], 500);
    EXPECT_EQ(v["isentropic_s"], v["inlet_s"]);
    EXPECT_EQ(v["isentropic_p"], 0.1);
    EXPECT_GT(v["outlet_h"], v["isentropic_h"]);
    EXPECT_LT(v["outlet_h"], v["inlet_h"]);
    const Outcome refused = run("turbine 100 500 0.1 120");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "Data out of range, please retry\n");
}

TEST(CalcState, DiagramPoint)
{
    const Outcome r = run("point 4 100");
    ASSERT_EQ(r.status, 0) << r.out;
    std::map<std::string, double> v = values_of(r.out);
    EXPECT_EQ(v["s"], 4);
    EXPECT_NEAR(v["p"], 1.0132, 0.001);
    EXPECT_GT(v["x"], 0);
    EXPECT_LT(v["x"], 1);
    const Outcome out = run("point 5 5");
    EXPECT_EQ(out.status, 1);
    EXPECT_EQ(out.out, "The point selected is outside the valid space\n");
}

} // namespace
