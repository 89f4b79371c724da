// vapora-chart as a user runs it: arguments in; a PNG, SVG or PDF of the chart out.
#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "diagram/diagram.h"

namespace {

// A file name of this test's own, so that tests running side by side never meet.
std::string temp(const std::string& name)
{
    return testing::TempDir() + "chart_" + std::to_string(getpid()) + "_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

// Runs a command; *err gets what it wrote on stderr.
int run(const std::string& command, std::string* err = nullptr)
{
    const std::string err_path = temp("stderr");
    const int status = std::system((command + " 2>" + err_path).c_str());
    std::stringstream text;
    text << std::ifstream(err_path).rdbuf();
    std::remove(err_path.c_str());
    if (err)
        *err = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int chart(const std::string& args, std::string* err = nullptr)
{
    return run(std::string(VAPORA_CHART_EXE) + " " + args, err);
}

struct Png {
    explicit Png(const std::string& path) : s(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Png() { cairo_surface_destroy(s); }
    int width() const { return cairo_image_surface_get_width(s); }
    COLORREF at(int x, int y) const
    {
        const uint32_t p = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s))[x];
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    // Pixels within r of (x, y) for which keep(colour) holds.
    template <class Keep>
    int near(int x, int y, int r, Keep keep) const
    {
        int n = 0;
        for (int j = y - r; j <= y + r; ++j)
            for (int i = x - r; i <= x + r; ++i)
                n += keep(at(i, j));
        return n;
    }
    cairo_surface_t* s;
};

const RECT client = {0, 0, 994, 671};
const DiagramFrame f = frame_from_client(&client);
const auto red = [](COLORREF p) { return GetRValue(p) > 200 && GetGValue(p) < 80 && GetBValue(p) < 80; };
const auto yellow = [](COLORREF p) { return GetRValue(p) > 200 && GetGValue(p) > 200 && GetBValue(p) < 80; };

TEST(ChartTool, PngSvgAndPdfHoldTheSameChartAndTheProcess)
{
    const int x1 = s_to_px(f, 6500), y1 = t_to_px(f, 300), x2 = s_to_px(f, 7500), y2 = t_to_px(f, 500);
    // A vertex of the dome's liquid branch: 0.7038 kJ/kg C at 50 C.
    const int xd = s_to_px(f, 703.8), yd = t_to_px(f, 50);
    const std::string png = temp("out.png"), svg = temp("out.svg"), pdf = temp("out.pdf");
    const std::string process = " --process 6.5 300 7.5 500";
    ASSERT_EQ(chart(png + process), 0);
    ASSERT_EQ(chart(svg + process), 0);
    ASSERT_EQ(chart(pdf + process), 0);
    ASSERT_EQ(run(std::string(RSVG_CONVERT) + " " + svg + " -o " + svg + ".png"), 0);
    ASSERT_EQ(run(std::string(PDFTOPPM) + " -png -r 72 -singlefile " + pdf + " " + pdf), 0);
    for (const std::string& path : {png, svg + ".png", pdf + ".png"}) {
        SCOPED_TRACE(path);
        Png p(path);
        ASSERT_EQ(p.width(), 994);
        EXPECT_GT(p.near(x1, y1, 2, red), 8);
        EXPECT_GT(p.near(x2, y2, 2, red), 8);
        EXPECT_GT(p.near((x1 + x2) / 2, (y1 + y2) / 2, 1, red), 0);
        EXPECT_GT(p.near(xd, yd, 1, yellow), 0);
        EXPECT_EQ(p.near(200, 400, 10, red), 0);
        EXPECT_EQ(p.at(250, 100), RGB(192, 192, 192));  // the title panel
        EXPECT_EQ(p.at(77, 60), RGB(224, 224, 224));    // and its light bevel
    }
    std::remove(svg.c_str()), std::remove(pdf.c_str());
}

TEST(ChartTool, ScaleDrawsThePngLargerLinesAndAll)
{
    const std::string path = temp("scaled.png");
    ASSERT_EQ(chart(path + " --scale 3"), 0);
    Png p(path);
    ASSERT_EQ(p.width(), 3 * 994);
    const int y = 3 * t_to_px(f, 300);
    for (int dx = 0; dx < 3; ++dx)  // the left axis, three pixels wide
        EXPECT_EQ(p.at(3 * f.origin_x + dx, y), RGB(255, 255, 255)) << dx;
    EXPECT_EQ(p.at(3 * f.origin_x + 3, y), RGB(0, 0, 0));
}

TEST(ChartTool, StatesFromABatchFileAreMarkedAndJoinedInOrder)
{
    const std::string states = temp("cycle.csv"), path = temp("cycle.png");
    std::ofstream(states) << "pair,a,b\n# 100 bar to 0.1 bar\np_x,0.1,0\nt_p,500,100\n"
                             "t_p,900,1\np_s,0.1,6.6\nbogus,1,2\n"
                             "p_s,0.1,6.6,,,46,0.1,2100,6.6,14,0.8,ok\n"
                             "t_p,900,1,,,,,,,,,\"Data out of range, please retry\"\n";
    std::string err;
    ASSERT_EQ(chart(path + " --states " + states, &err), 0);
    // Three refused rows named, each on a line of its own.
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
    EXPECT_NE(err.find("line 5"), std::string::npos) << err;
    EXPECT_NE(err.find("line 9 skipped: Data out of range, please retry\n"), std::string::npos) << err;
    Png p(path);
    const POINT marks[] = {{s_to_px(f, 649.25), t_to_px(f, 45.83)}, {s_to_px(f, 6599.4), t_to_px(f, 500)},
                           {s_to_px(f, 6600), t_to_px(f, 45.83)}, {s_to_px(f, 6600), t_to_px(f, 46)}};
    for (const POINT& m : marks)
        EXPECT_GT(p.near(m.x, m.y, 2, red), 12) << m.x << "," << m.y;
    // Joined in order: down the turbine at 6.6 kJ/kg C, and no line from the last back.
    EXPECT_GT(p.near(marks[1].x, t_to_px(f, 300), 1, red), 0);
    EXPECT_EQ(p.near((marks[0].x + marks[3].x) / 2, marks[0].y - 20, 5, red), 0);
    std::remove(states.c_str());
}

TEST(ChartTool, RefusesEveryBadArgumentWithOneLineAndWritesNothing)
{
    const std::string path = temp("refused.png");
    for (const std::string rest :
         {" --point nan nan", " --point inf 300", " --process 1e9 300 -1e9 100", " --process nan 1 2 3",
          " --point 1", " --point 0x10 5", " --point 7 400x", " --scale 9", " --scale 1.5", " --bogus",
          " --states /nonexistent/states.csv"}) {
        std::string err;
        EXPECT_EQ(chart(path + rest, &err), 2) << rest;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << rest << ": " << err;
        EXPECT_FALSE(std::ifstream(path).good()) << rest;
    }
    EXPECT_EQ(chart(temp("chart.txt")), 2);
    EXPECT_EQ(chart(""), 2);
}

}  // namespace
