// vapora-chart as a user runs it: arguments in, a PNG of the client area out.
#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "diagram/diagram.h"

namespace {

const std::string out_dir = VAPORA_CHART_OUT_DIR;

int run(const std::string& args)
{
    const int status = std::system((std::string(VAPORA_CHART_EXE) + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Png {
    explicit Png(const std::string& path) : s(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Png() { cairo_surface_destroy(s); }
    bool ok() const { return cairo_surface_status(s) == CAIRO_STATUS_SUCCESS; }
    COLORREF at(int x, int y) const
    {
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    int count(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        int n = 0;
        for (int i = 0; i < (x1 - x0) * (y1 - y0); ++i)
            n += at(x0 + i % (x1 - x0), y0 + i / (x1 - x0)) == c;
        return n;
    }
    cairo_surface_t* s;
};

const RECT client = {0, 0, 994, 671};
const DiagramFrame f = frame_from_client(&client);

TEST(ChartTool, WritesTheWholeClientAreaAndOnlyWhatIsAskedFor)
{
    const std::string path = out_dir + "/chart_plain.png";
    ASSERT_EQ(run(path), 0);
    Png png(path);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(cairo_image_surface_get_width(png.s), 994);
    EXPECT_EQ(cairo_image_surface_get_height(png.s), 671);
    EXPECT_EQ(png.at(84, 107), RGB(192, 192, 192));                    // title panel
    EXPECT_EQ(png.at(f.origin_x, t_to_px(f, 300)), RGB(255, 255, 255));  // axis
    // No readout panel (12,500 pixels of its green; the critical isobar has a few
    // hundred) and no red marks.
    EXPECT_LT(png.count(0, 0, 994, 671, RGB(0, 130, 0)), 5000);
    EXPECT_EQ(png.count(0, 120, 994, 671, RGB(255, 0, 0)), 0);
}

TEST(ChartTool, PointAndProcessDrawTheReadoutTheMarksAndTheLine)
{
    const std::string path = out_dir + "/chart_process.png";
    ASSERT_EQ(run(path + " --point 7 400 --process 6.5 300 7.5 500"), 0);
    Png png(path);
    ASSERT_TRUE(png.ok());
    const int left = f.origin_x + 20, top = f.origin_y - f.plot_height / 2;
    EXPECT_EQ(png.at(left + 95, top + 20), RGB(0, 130, 0));
    EXPECT_GT(95 * 90 - png.count(left + 5, top + 30, left + 100, top + 120, RGB(0, 130, 0)), 100)
        << "six lines of text on the panel";
    const int x1 = s_to_px(f, 6500), y1 = t_to_px(f, 300), x2 = s_to_px(f, 7500), y2 = t_to_px(f, 500);
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(png.at(x1, y1), red);
    EXPECT_EQ(png.at(x2, y2), red);
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;  // the line, within a pixel
    EXPECT_GT(png.count(xm - 1, ym - 1, xm + 2, ym + 2, red), 0);
}

TEST(ChartTool, RefusesBadArgumentsAndWritesNothing)
{
    const std::string path = out_dir + "/refused.png";
    for (const char* rest : {" --point 1", " --process 1 2 3", " --point a b", " --bogus"}) {
        std::remove(path.c_str());
        EXPECT_EQ(run(path + rest), 2) << rest;
        struct stat st;
        EXPECT_NE(stat(path.c_str(), &st), 0) << rest;
    }
    EXPECT_EQ(run(""), 2);
}

}  // namespace
