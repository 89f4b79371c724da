// vapora-chart as a user runs it: arguments in; a PNG, SVG or PDF of the chart out.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "diagram/diagram.h"
#include "memory_dc.h"
#include "process.h"

namespace {

// A file name of this test's own, so that tests running side by side never meet.
std::string temp(const std::string& name) {
    return testing::TempDir() + "chart_" + std::to_string(getpid()) + "_" + name;
}

const RECT client = {0, 0, 994, 671};
const DiagramFrame f = frame_from_client(&client);

// A cycle of batch rows (input and output, some refused), and a process, in each format;
// the PNG also twice as large.
TEST(ChartTool, PngSvgAndPdfHoldTheChartTheProcessAndTheStatesInOrder) {
    const std::string states = temp("cycle.csv"), png = temp("out.png"), svg = temp("out.svg"),
                      pdf = temp("out.pdf");
    std::ofstream(states) << "pair,a,b\n# 100 bar to 0.1 bar\np_x,0.1,0\nt_p,500,100\nt_p,900,1\n"
                             "p_s,0.1,6.6\nbogus,1,2\np_s,0.1,6.6,,,46,0.1,2100,6.6,14,0.8,ok\n"
                             "t_p,900,1,,,,,,,,,\"Data out of range, please retry\"\n";
    for (const std::string& out : {png, svg, pdf, png + "2.png"}) {
        const ProcessResult r =
            run_process({VAPORA_CHART_EXE, out, "--process", "2", "300", "3", "500", "--states",
                         states, "--scale", out == png + "2.png" ? "2" : "1"});
        ASSERT_EQ(r.status, 0) << out;  // and the three refused rows, each named
        EXPECT_TRUE(std::count(r.err.begin(), r.err.end(), '\n') == 3 &&
                    r.err.find("line 9 skipped: Data out of range, please retry\n") != r.err.npos)
            << r.err;
    }
    ASSERT_EQ(run_process({RSVG_CONVERT, svg, "-o", svg + ".png"}).status, 0);
    ASSERT_EQ(run_process({PDFTOPPM, "-png", "-r", "72", "-singlefile", pdf, pdf}).status, 0);
    const POINT marks[] = {
        {s_to_px(f, 2000), t_to_px(f, 300)},     {s_to_px(f, 3000), t_to_px(f, 500)},
        {s_to_px(f, 649.25), t_to_px(f, 45.83)}, {s_to_px(f, 6599.4), t_to_px(f, 500)},
        {s_to_px(f, 6600), t_to_px(f, 45.83)},   {s_to_px(f, 6600), t_to_px(f, 46)}};
    for (const std::string& path : {png, svg + ".png", pdf + ".png", png + "2.png"}) {
        SCOPED_TRACE(path);
        const int n = path == png + "2.png" ? 2 : 1;
        const auto p = read_png(path);
        // Red pixels within r of (x, y) on the picture n times larger.
        const auto red_near = [&](int x, int y, int r) {
            return p->count(n * x - r, n * y - r, n * x + r + 1, n * y + r + 1, [](COLORREF c) {
                return GetRValue(c) > 200 && GetGValue(c) < 200 && GetBValue(c) < 80;
            });
        };
        for (const POINT& m : marks)
            EXPECT_GT(red_near(m.x, m.y, 2 * n), 8 * n * n) << m.x << "," << m.y;
        // Joined in order: the process, down the turbine at 6.6 kJ/kg C, and no line
        // from the last state back to the first.
        EXPECT_GT(red_near((marks[0].x + marks[1].x) / 2, (marks[0].y + marks[1].y) / 2, n), 0);
        EXPECT_GT(red_near(marks[3].x, t_to_px(f, 300), n), 0);
        EXPECT_EQ(red_near((marks[2].x + marks[5].x) / 2, marks[2].y - 20, 5 * n), 0);
        // The title panel's face and its bevels, the left axis n pixels wide.
        EXPECT_TRUE(p->at(n * 250, n * 100) == RGB(192, 192, 192) &&
                    p->at(n * 77, n * 60) == RGB(224, 224, 224) &&
                    p->at(n * 343, n * 60) == RGB(160, 160, 160));
        EXPECT_TRUE(p->at(n * f.origin_x + n - 1, 600) == RGB(255, 255, 255) &&
                    p->at(n * f.origin_x + n, 600) == RGB(0, 0, 0));
    }
}

TEST(ChartTool, RefusesEveryBadArgumentWithOneLineAndWritesNothing) {
    const std::string p = temp("refused.png"), utf16 = temp("utf16.csv");
    std::ofstream(utf16) << std::string("\xFF\xFEp\0_\0x\0", 8);
    for (const std::string& args :
         {p + " --point nan nan", p + " --point inf 300", p + " --process 5 300 21 100",
          p + " --point 1", p + " --point 0x10 5", p + " --point 7 400x", p + " --scale 9",
          p + " --scale 1.5", p + " --bogus", p + " --states /nonexistent/states.csv",
          p + " --states " + testing::TempDir(), p + " --states " + utf16, p + " --states",
          temp("chart.txt"), std::string()}) {
        std::vector<std::string> command = {VAPORA_CHART_EXE};
        std::istringstream words(args);
        for (std::string word; words >> word;) command.push_back(word);
        const ProcessResult r = run_process(command);
        EXPECT_TRUE(r.status == 2 && std::count(r.err.begin(), r.err.end(), '\n') == 1)
            << r.status << " " << r.err;
        EXPECT_FALSE(std::ifstream(p).good()) << r.err;
    }
}

// A chart that cannot be written whole is status 1 with the reason, and leaves no file: to
// a full device, and in each format into a full disk.
TEST(ChartTool, AChartThatCannotBeWrittenIsStatus1AndLeavesNoFile) {
    const std::string full = temp("full.png"), disk = mount_small_disk("chart_disk");
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    std::vector<std::string> outs = {full};
    for (const char* name : {"/c.png", "/c.svg", "/c.pdf"})
        if (!disk.empty()) outs.push_back(disk + name);
    for (const std::string& out : outs) {
        const ProcessResult r = run_process({VAPORA_CHART_EXE, out});
        EXPECT_TRUE(r.status == 1 &&
                    r.err == "vapora-chart: cannot write " + out + ": No space left on device\n")
            << r.err;
    }
    unlink(full.c_str());
    if (disk.empty()) GTEST_SKIP() << "a small tmpfs can be mounted only as root";
    EXPECT_TRUE(std::filesystem::is_empty(disk));
    unmount_small_disk(disk);
}

}  // namespace
