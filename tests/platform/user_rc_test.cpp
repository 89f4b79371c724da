// The resource script as the build reads it: the program's own vapora.rc, preprocessed and
// linked into this test as into the program, read back against what the program needs;
// and a faulty script, which the build refuses naming the place of the fault.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "user_internal.h"

using namespace vapora::rc;

using Kind = std::pair<std::wstring, uint32_t>;  // class, and style beside WS_CHILD | WS_VISIBLE
// A dialog is a row of its own (font size, caption and style, font, rectangle), then one row
// per control (id, kind, text, rectangle).
using Row = std::tuple<int, Kind, std::wstring, int, int, int, int>;

TEST(ResourceScript, ProgramScriptHoldsWhatTheProgramNeeds) {
    const Resources& r = vapora::user::resources();  // what the build linked in, read back
    EXPECT_EQ(r.strings, (std::map<int, std::wstring>{{103, L"Vapora 2.0"}, {109, L"VAPORA20"}}));
    std::wstring keys;  // Alt with the characters "?" and "/", each giving command 104
    for (auto& a : r.accelerators.at({true, 109, {}})) keys += {a.key, a.flags, a.command};
    EXPECT_EQ(keys, (std::wstring{L'?', FALT, 104, L'/', FALT, 104}));
    for (int id : {107, 108, 128}) EXPECT_EQ(r.icons.count({true, id, {}}), 1u) << id;

    const Kind text{L"Static", SS_LEFT | WS_GROUP}, group{L"Button", BS_GROUPBOX},
        radio{L"Button", BS_RADIOBUTTON | WS_TABSTOP}, push{L"Button", BS_PUSHBUTTON | WS_TABSTOP},
        edit{L"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
    const Kind about{L"Informazioni su Vapora 2.0",
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS};
    std::vector<Row> expected = {
        // the About box, the data-input dialog, the results dialog
        {8, about, L"MS Shell Dlg", 0, 0, 170, 62},
        {-1, {L"Static", SS_ICON}, L"", 14, 14, 21, 20},
        {-1, {L"Static", text.second | SS_NOPREFIX}, L"Vapora 2.0, versione 1.0", 42, 14, 114, 8},
        {-1, text, L"Acqua e vapore, IFC-67", 42, 26, 114, 8},
        {1, {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP}, L"OK", 113, 41, 50, 14},
        {0, {L"Data input window", WS_POPUP | WS_VISIBLE | WS_CAPTION}, L"", 20, 40, 180, 166}};
    const std::wstring pairs[] = {L"t,p", L"t,h", L"p,h", L"t,s", L"p,s", L"t,x", L"p,x"};
    const int pair_x[] = {15, 45, 60, 15, 30, 45, 60};
    for (int p : {0, 1}) {  // point 2 as point 1, 90 units further right
        expected.emplace_back(801 + p, group, p ? L"Point 2" : L"Point 1", 5 + 90 * p, 25, 80, 75);
        for (int k = 0; k < 7; ++k)
            expected.emplace_back(1001 + 7 * p + k, radio, pairs[k], pair_x[k] + 90 * p,
                                  40 + 12 * (k > 2), k ? 15 : 30, 12);
        for (int k = 0; k < 4; ++k)  // the label and the edit box of each value
            expected.emplace_back(1051 + 4 * p + k, k % 2 ? edit : text, L"",
                                  (k % 2 ? 45 : 10) + 90 * p, 70 + 15 * (k / 2), 35,
                                  k % 2 ? 12 : 10);
    }
    expected.emplace_back(803, group, L"Special cases", 5, 105, 80, 56);
    for (int k : {0, 1, 2})  // the turbine cases, point 1 given as t,p, t,h or p,h
        expected.emplace_back(1015 + k, radio, L"Turbine (" + pairs[k] + L")", 15, 120 + 12 * k, 60,
                              12);
    expected.emplace_back(1, push, L"Calculate", 105, 126, 60, 24);
    expected.emplace_back(0, Kind{L"Results", WS_CAPTION}, L"", 20, 40, 200, 170);
    expected.emplace_back(1001, push, L"Close", 60, 150, 80, 14);
    std::vector<Row> rows;
    for (auto& [name, d] : r.dialogs) {
        rows.emplace_back(d.has_font * d.point_size, Kind{d.caption, d.style}, d.face_name, d.x,
                          d.y, d.cx, d.cy);
        for (auto& c : d.controls)
            rows.emplace_back(c.id, Kind{c.class_name, c.style ^ (WS_CHILD | WS_VISIBLE)}, c.text,
                              c.x, c.y, c.cx, c.cy);
    }
    EXPECT_EQ(rows, expected);
}

// A misspelt style survives the preprocessor as a bare name: the build's reading step fails
// and says where it stands in the script.
TEST(ResourceScript, FaultyScriptFailsTheBuild) {
    std::ofstream("faulty.i")
        << "# 1 \"faulty.rc\"\n1 DIALOG 0, 0, 9, 9\nSTYLE 0x10L | WS_CAPTON\n";
    EXPECT_NE(std::system(RC_EMBED " faulty.i . faulty.cpp faulty.d 2>faulty.err"), 0);
    std::string line;
    std::getline(std::ifstream("faulty.err"), line);
    EXPECT_EQ(line, "faulty.rc:2: 'WS_CAPTON' is not defined");
}
