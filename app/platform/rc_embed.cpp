// Build-time tool of the non-Windows build: turns a resource script and the headers it
// includes into a C++ source that hands the flattened script to the platform layer at
// start-up. The script is read here once with the same reader the program uses, so a
// template the program could not read fails the build, not the run.
//
//   vapora_rc_embed -o out.cpp [-d out.d] [-I dir]... script.rc
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rc_parse.h"

namespace {

bool read_file(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

std::string dir_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// One literal chunk per script line; bytes outside printable ASCII as octal escapes,
// which cannot swallow a following digit the way \x would.
void write_literal(std::ostream& os, const std::string& text) {
  os << "  \"";
  for (unsigned char c : text) {
    if (c == '\n') { os << "\\n\"\n  \""; continue; }
    if (c == '"' || c == '\\') os << '\\' << (char)c;
    else if (c == '?') os << "\\?";  // no trigraphs
    else if (c >= 0x20 && c < 0x7F) os << (char)c;
    else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      os << buf;
    }
  }
  os << "\"";
}

}  // namespace

int main(int argc, char** argv) {
  std::string output, depfile, input;
  std::vector<std::string> include_dirs;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "-o" || a == "-d" || a == "-I") && i + 1 < argc) {
      std::string v = argv[++i];
      if (a == "-o") output = v; else if (a == "-d") depfile = v; else include_dirs.push_back(v);
    } else {
      input = a;
    }
  }
  if (output.empty() || input.empty()) {
    std::fprintf(stderr, "usage: vapora_rc_embed -o out.cpp [-d out.d] [-I dir]... script.rc\n");
    return 2;
  }
  std::string script;
  if (!read_file(input, script)) {
    std::fprintf(stderr, "%s: cannot read\n", input.c_str());
    return 1;
  }
  include_dirs.insert(include_dirs.begin(), dir_of(input));
  std::vector<std::string> used;
  auto loader = [&](const std::string& name, std::string& contents) {
    for (const std::string& d : include_dirs) {
      std::string path = name[0] == '/' ? name : d + "/" + name;
      if (read_file(path, contents)) {
        used.push_back(path);
        return true;
      }
    }
    return false;
  };
  std::string flat, error;
  if (!vapora::rc::flatten_includes(script, loader, flat, error)) {
    std::fprintf(stderr, "%s: %s\n", input.c_str(), error.c_str());
    return 1;
  }
  vapora::rc::Resources res;
  if (!vapora::rc::parse(flat, res, error)) {
    std::fprintf(stderr, "%s (flattened): %s\n", input.c_str(), error.c_str());
    return 1;
  }

  std::ostringstream os;
  os << "// Generated from " << input << " by vapora_rc_embed. Do not edit.\n"
     << "#include \"user.h\"\n\nnamespace {\nconst char script[] =\n";
  write_literal(os, flat);
  os << ";\n";
  // The files the script names for its icons, as the resource compiler would embed them.
  std::vector<std::string> files;
  for (const auto& icon : res.icons) {
    const std::string& name = icon.second;
    if (std::find(files.begin(), files.end(), name) != files.end()) continue;
    std::string data, path = name[0] == '/' ? name : dir_of(input) + "/" + name;
    if (!read_file(path, data)) {
      std::fprintf(stderr, "%s: cannot read icon file %s\n", input.c_str(), path.c_str());
      return 1;
    }
    used.push_back(path);
    os << "const unsigned char file" << files.size() << "[] = {";
    for (size_t i = 0; i < data.size(); ++i)
      os << (i % 24 ? "" : "\n ") << (unsigned)(unsigned char)data[i] << ",";
    os << "0};\n";
    files.push_back(name);
  }
  os << "// Registered before main() runs; read on the first resource call.\n"
     << "[[maybe_unused]] const bool registered = (\n"
     << "    vapora_register_resource_script(script, sizeof script - 1),\n";
  for (size_t i = 0; i < files.size(); ++i) {
    os << "    vapora_register_resource_file(";
    std::ostringstream name;
    write_literal(name, files[i]);
    os << name.str().substr(2) << ", file" << i << ", sizeof file" << i << " - 1),\n";
  }
  os << "    true);\n"
     << "}  // namespace\n";
  std::string old;
  // Rewrite only on change, so that an unchanged script does not rebuild its target.
  if (!read_file(output, old) || old != os.str()) {
    std::ofstream out(output, std::ios::binary);
    out << os.str();
    if (!out) { std::fprintf(stderr, "%s: cannot write\n", output.c_str()); return 1; }
  }
  if (!depfile.empty()) {
    std::ofstream d(depfile);
    d << output << ": " << input;
    for (const std::string& u : used) d << " \\\n  " << u;
    d << "\n";
  }
  std::printf("%s: %zu strings, %zu dialogs, %zu accelerator tables\n", input.c_str(),
              res.strings.size(), res.dialogs.size(), res.accelerators.size());
  return 0;
}
