// vapora-chart as a user runs it: arguments in, a PNG of the client area out.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>

#include "diagram/diagram.h"

namespace {

constexpr int W = 994;
constexpr int H = 671;

struct Png {
    cairo_surface_t* surface = nullptr;
    ~Png()
    {
        if (surface)
            cairo_surface_destroy(surface);
    }
    bool ok() const { return surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    // As a COLORREF, 0x00BBGGRR.
    COLORREF at(int x, int y) const
    {
        const unsigned char* row =
            cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    int count(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += at(x, y) == c;
        return n;
    }
};

std::string out_path(const char* name)
{
    return std::string(VAPORA_CHART_OUT_DIR) + "/" + name;
}

// Runs the tool; returns its exit status.
int run(const std::string& args)
{
    const std::string command = std::string(VAPORA_CHART_EXE) + " " + args + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void load(Png* png, const std::string& path)
{
    png->surface = cairo_image_surface_create_from_png(path.c_str());
}

DiagramFrame window_frame()
{
    const RECT client = {0, 0, W, H};
    return frame_from_client(&client);
}

TEST(ChartTool, WritesTheWholeClientArea)
{
    const std::string path = out_path("chart_plain.png");
    std::remove(path.c_str());
    ASSERT_EQ(run(path), 0);
    Png png;
    load(&png, path);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.width(), W);
    EXPECT_EQ(png.height(), H);
    EXPECT_EQ(png.at(W - 1, H - 1), RGB(0, 0, 0));
    EXPECT_EQ(png.at(84, 107), RGB(192, 192, 192));  // the title panel
    const DiagramFrame f = window_frame();
    EXPECT_EQ(png.at(f.origin_x, t_to_px(f, 300)), RGB(255, 255, 255));  // the axis
    // No readout panel (12500 pixels of its green; the critical isobar has a few
    // hundred) and no red unless asked for.
    EXPECT_LT(png.count(0, 0, W, H, RGB(0, 130, 0)), 5000);
    EXPECT_EQ(png.count(0, 120, W, H, RGB(255, 0, 0)), 0);
}

TEST(ChartTool, ProcessMarksBothPointsAndJoinsThem)
{
    const std::string path = out_path("chart_process.png");
    ASSERT_EQ(run(path + " --process 6.5 300 7.5 500"), 0);
    Png png;
    load(&png, path);
    ASSERT_TRUE(png.ok());
    const DiagramFrame f = window_frame();
    const int x1 = s_to_px(f, 6500), y1 = t_to_px(f, 300);
    const int x2 = s_to_px(f, 7500), y2 = t_to_px(f, 500);
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(png.at(x1, y1), red);
    EXPECT_EQ(png.at(x2, y2), red);
    // Midway along the line, within a pixel of the straight segment.
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    EXPECT_GT(png.count(xm - 1, ym - 1, xm + 2, ym + 2, red), 0);
}

TEST(ChartTool, PointShowsTheReadoutPanel)
{
    const std::string path = out_path("chart_point.png");
    ASSERT_EQ(run(path + " --point 7 400"), 0);
    Png png;
    load(&png, path);
    ASSERT_TRUE(png.ok());
    const DiagramFrame f = window_frame();
    const int left = f.origin_x + 20, top = f.origin_y - f.plot_height / 2;
    EXPECT_EQ(png.at(left + 95, top + 20), RGB(0, 130, 0));
    // Six lines of white text on the green face.
    const int text = (95 * 90) - png.count(left + 5, top + 30, left + 100, top + 120, RGB(0, 130, 0));
    EXPECT_GT(text, 100);
}

TEST(ChartTool, RefusesBadArguments)
{
    const char* cases[] = {"", "--point 1 2", "x.png --point 1", "x.png --process 1 2 3",
                           "x.png --point a b", "x.png --bogus"};
    for (const char* args : cases) {
        const std::string path = out_path("x.png");
        std::remove(path.c_str());
        std::string a = args;
        const std::size_t at = a.find("x.png");
        if (at != std::string::npos)
            a.replace(at, 5, path);
        EXPECT_EQ(run(a), 2) << args;
        struct stat st;
        EXPECT_NE(stat(path.c_str(), &st), 0) << args;
    }
}

}  // namespace
