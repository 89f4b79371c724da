// Build-time tool of the non-Windows build: reads a preprocessed resource script with the
// reader the program uses, so that a script the program could not read fails the build,
// and writes a C++ source that hands the script and its icon files to the platform layer.
// The dependency file names every file the preprocessor read (its line markers say which)
// and the icons, so a change to any of them rebuilds the table.
//
//   vapora_rc_embed script.i script_dir out.cpp out.d
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "rc_parse.h"

namespace {

bool read_file(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return bool(in);
}

int refuse(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

// The script without blank lines and line markers, which name files of the build machine;
// the files they name go to `used`.
std::string script_text(const std::string& script, std::set<std::string>& used) {
    std::string text, line;
    for (std::istringstream lines(script); std::getline(lines, line);) {
        size_t open = line.find('"'), close = line.rfind('"');
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line[0] != '#')
            text += line + "\n";
        else if (close > open && line[open + 1] != '<')  // not <built-in> or <command-line>
            used.insert(line.substr(open + 1, close - open - 1));
    }
    return text;
}

// One array per icon file, registered under the name the script gives it.
bool write_icons(std::ostream& os, const vapora::rc::Resources& res, const std::string& dir,
                 std::set<std::string>& used) {
    std::set<std::string> names;
    for (const auto& icon : res.icons) names.insert(icon.second);
    int n = 0;
    for (const std::string& name : names) {
        std::string data, path = dir + "/" + name;
        if (!read_file(path, data)) {
            refuse("cannot read icon file " + path);
            return false;
        }
        used.insert(path);
        os << "const unsigned char file" << ++n << "[] = {";
        for (size_t i = 0; i < data.size(); ++i)
            os << (i % 24 ? "" : "\n") << +(unsigned char)data[i] << ",";
        os << "0};\n[[maybe_unused]] const bool file" << n << "_registered = (\n"
           << "    vapora_register_resource_file(R\"(" << name << ")\", file" << n
           << ", sizeof file" << n << " - 1), true);\n";
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) return refuse("usage: vapora_rc_embed script.i script_dir out.cpp out.d");
    const std::string input = argv[1], dir = argv[2], output = argv[3], depfile = argv[4];
    std::string script, error;
    vapora::rc::Resources res;
    if (!read_file(input, script)) return refuse(input + ": cannot read");
    if (!vapora::rc::parse(script, res, error)) return refuse(error);
    std::set<std::string> used;
    const std::string text = script_text(script, used);
    if (text.find(")rc\"") != std::string::npos) return refuse(input + ": script holds )rc\"");

    std::ostringstream os;
    os << "// Generated from " << input << " by vapora_rc_embed. Do not edit.\n"
       << "#include \"user.h\"\n\nnamespace {\nconst char script[] = R\"rc(" << text << ")rc\";\n";
    if (!write_icons(os, res, dir, used)) return 1;
    // Registered before main() runs; read on the first resource call.
    os << "[[maybe_unused]] const bool script_registered = (\n"
       << "    vapora_register_resource_script(script, sizeof script - 1), true);\n"
       << "}  // namespace\n";
    std::ofstream out(output, std::ios::binary);
    if (!(out << os.str())) return refuse(output + ": cannot write");
    std::ofstream d(depfile);
    d << output << ":";
    for (const std::string& u : used) d << " \\\n  " << u;
    d << "\n";
    return d ? 0 : refuse(depfile + ": cannot write");
}
