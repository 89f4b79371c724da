// Reader of resource scripts: a small preprocessor (object-like #define, conditionals,
// #line), a tokenizer with macro expansion, and a parser for the statements the program
// uses. The Win32 constants a script names come from user.h, the same definitions the
// program's code sees, so a style bit cannot differ between the two.
#include "rc_parse.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cwctype>
#include <set>

#include "user.h"

namespace vapora::rc {
namespace {

std::string upper(std::string s) {
  for (char& c : s) c = (char)std::toupper((unsigned char)c);
  return s;
}

// ---- Constants known without <windows.h> -------------------------------------------
#define K(name) {#name, (long long)(name)}
const std::map<std::string, long long>& predefined() {
  static const std::map<std::string, long long> table = {
      K(WS_OVERLAPPED), K(WS_POPUP), K(WS_CHILD), K(WS_MINIMIZE), K(WS_VISIBLE),
      K(WS_DISABLED), K(WS_CLIPSIBLINGS), K(WS_CLIPCHILDREN), K(WS_MAXIMIZE), K(WS_CAPTION),
      K(WS_BORDER), K(WS_DLGFRAME), K(WS_VSCROLL), K(WS_HSCROLL), K(WS_SYSMENU),
      K(WS_THICKFRAME), K(WS_GROUP), K(WS_TABSTOP), K(WS_MINIMIZEBOX), K(WS_MAXIMIZEBOX),
      K(WS_OVERLAPPEDWINDOW), K(WS_POPUPWINDOW), K(WS_EX_DLGMODALFRAME),
      K(WS_EX_NOPARENTNOTIFY), K(WS_EX_TOPMOST), K(WS_EX_TRANSPARENT), K(WS_EX_TOOLWINDOW),
      K(WS_EX_WINDOWEDGE), K(WS_EX_CLIENTEDGE), K(WS_EX_CONTEXTHELP), K(WS_EX_STATICEDGE),
      K(WS_EX_APPWINDOW), K(DS_ABSALIGN), K(DS_SYSMODAL), K(DS_3DLOOK), K(DS_FIXEDSYS),
      K(DS_NOFAILCREATE), K(DS_LOCALEDIT), K(DS_SETFONT), K(DS_MODALFRAME), K(DS_NOIDLEMSG),
      K(DS_SETFOREGROUND), K(DS_CONTROL), K(DS_CENTER), K(DS_CENTERMOUSE),
      K(DS_CONTEXTHELP), K(DS_SHELLFONT), K(BS_PUSHBUTTON), K(BS_DEFPUSHBUTTON),
      K(BS_CHECKBOX), K(BS_AUTOCHECKBOX), K(BS_RADIOBUTTON), K(BS_3STATE), K(BS_AUTO3STATE),
      K(BS_GROUPBOX), K(BS_USERBUTTON), K(BS_AUTORADIOBUTTON), K(BS_PUSHBOX),
      K(BS_OWNERDRAW), K(BS_LEFTTEXT), K(BS_TEXT), K(BS_ICON), K(BS_BITMAP), K(BS_LEFT),
      K(BS_RIGHT), K(BS_CENTER), K(BS_TOP), K(BS_BOTTOM), K(BS_VCENTER), K(BS_PUSHLIKE),
      K(BS_MULTILINE), K(BS_NOTIFY), K(BS_FLAT), K(ES_LEFT), K(ES_CENTER), K(ES_RIGHT),
      K(ES_MULTILINE), K(ES_UPPERCASE), K(ES_LOWERCASE), K(ES_PASSWORD), K(ES_AUTOVSCROLL),
      K(ES_AUTOHSCROLL), K(ES_NOHIDESEL), K(ES_OEMCONVERT), K(ES_READONLY),
      K(ES_WANTRETURN), K(ES_NUMBER), K(SS_LEFT), K(SS_CENTER), K(SS_RIGHT), K(SS_ICON),
      K(SS_BLACKRECT), K(SS_GRAYRECT), K(SS_WHITERECT), K(SS_BLACKFRAME), K(SS_GRAYFRAME),
      K(SS_WHITEFRAME), K(SS_SIMPLE), K(SS_LEFTNOWORDWRAP), K(SS_BITMAP), K(SS_ETCHEDHORZ),
      K(SS_ETCHEDVERT), K(SS_ETCHEDFRAME), K(SS_NOPREFIX), K(SS_NOTIFY), K(SS_CENTERIMAGE),
      K(SS_RIGHTJUST), K(SS_SUNKEN), K(SS_ENDELLIPSIS), K(IDOK), K(IDCANCEL), K(IDABORT),
      K(IDRETRY), K(IDIGNORE), K(IDYES), K(IDNO), K(IDCLOSE), K(IDHELP), K(VK_BACK),
      K(VK_TAB), K(VK_CLEAR), K(VK_RETURN), K(VK_SHIFT), K(VK_CONTROL), K(VK_MENU),
      K(VK_PAUSE), K(VK_CAPITAL), K(VK_ESCAPE), K(VK_SPACE), K(VK_PRIOR), K(VK_NEXT),
      K(VK_END), K(VK_HOME), K(VK_LEFT), K(VK_UP), K(VK_RIGHT), K(VK_DOWN), K(VK_INSERT),
      K(VK_DELETE), K(VK_HELP), K(VK_NUMPAD0), K(VK_NUMPAD1), K(VK_NUMPAD2), K(VK_NUMPAD3),
      K(VK_NUMPAD4), K(VK_NUMPAD5), K(VK_NUMPAD6), K(VK_NUMPAD7), K(VK_NUMPAD8),
      K(VK_NUMPAD9), K(VK_MULTIPLY), K(VK_ADD), K(VK_SUBTRACT), K(VK_DECIMAL), K(VK_DIVIDE),
      K(VK_F1), K(VK_F2), K(VK_F3), K(VK_F4), K(VK_F5), K(VK_F6), K(VK_F7), K(VK_F8),
      K(VK_F9), K(VK_F10), K(VK_F11), K(VK_F12), K(VK_OEM_1), K(VK_OEM_PLUS),
      K(VK_OEM_COMMA), K(VK_OEM_MINUS), K(VK_OEM_PERIOD), K(VK_OEM_2), K(VK_OEM_3),
      K(VK_OEM_4), K(VK_OEM_5), K(VK_OEM_6), K(VK_OEM_7),
      // What <winres.h> and <winnt.h> would give a script.
      {"IDC_STATIC", -1}, {"LANG_NEUTRAL", 0}, {"LANG_ENGLISH", 0x09}, {"LANG_ITALIAN", 0x10},
      {"SUBLANG_NEUTRAL", 0}, {"SUBLANG_DEFAULT", 1}, {"SUBLANG_ENGLISH_US", 1},
      {"SUBLANG_ITALIAN", 1}, {"RT_MANIFEST", 24}, {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1},
      {"RC_INVOKED", 1}, {"_WIN32", 1}, {"WIN32", 1}};
  return table;
}
#undef K

bool is_ident_start(char c) { return std::isalpha((unsigned char)c) || c == '_'; }
bool is_ident_char(char c) { return std::isalnum((unsigned char)c) || c == '_'; }

// Blanks out comments, keeping newlines (for line numbers) and string literals (a "//"
// inside a string is text). Strings double their quotes, as rc does, or use \".
std::string strip_comments(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0, n = s.size();
  while (i < n) {
    char c = s[i];
    if (c == '"') {
      out += c;
      ++i;
      while (i < n && s[i] != '\n') {
        if (s[i] == '\\' && i + 1 < n && s[i + 1] != '\n') { out += s[i]; out += s[i + 1]; i += 2; continue; }
        if (s[i] == '"') {
          if (i + 1 < n && s[i + 1] == '"') { out += "\"\""; i += 2; continue; }
          break;
        }
        out += s[i++];
      }
      if (i < n && s[i] == '"') { out += '"'; ++i; }
    } else if (c == '/' && i + 1 < n && s[i + 1] == '/') {
      while (i < n && s[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
      i += 2;
      while (i < n && !(s[i] == '*' && i + 1 < n && s[i + 1] == '/')) {
        if (s[i] == '\n') out += '\n';
        ++i;
      }
      i = std::min(n, i + 2);
      out += ' ';
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::vector<std::string> split_lines(const std::string& s) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == '\n') {
      std::string line = s.substr(start, i - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = i + 1;
    }
  }
  return lines;
}

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// ---- Tokens --------------------------------------------------------------------------
enum class Tok { Ident, Number, String, Punct, End };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier or punctuation
  long long value = 0;
  std::wstring str;
  int line = 0;
};

// Decodes script bytes: UTF-8 where valid, otherwise each byte as Latin-1.
void append_decoded(std::wstring& out, const std::string& bytes) {
  size_t i = 0, n = bytes.size();
  while (i < n) {
    unsigned char c = (unsigned char)bytes[i];
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    bool ok = len > 0 && i + len <= n;
    unsigned cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; ok && k < len; ++k) {
      unsigned char d = (unsigned char)bytes[i + k];
      if ((d >> 6) != 2) ok = false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok) { out += (wchar_t)c; ++i; continue; }
    out += (wchar_t)cp;
    i += len;
  }
}

class Lexer {
 public:
  Lexer(const std::string& s, int line) : s_(s), line_(line) {}

  // Returns false with a message on a malformed token.
  bool next(Token& t, std::string& error) {
    while (pos_ < s_.size() && std::isspace((unsigned char)s_[pos_])) ++pos_;
    t = Token();
    t.line = line_;
    if (pos_ >= s_.size()) { t.kind = Tok::End; return true; }
    char c = s_[pos_];
    if ((c == 'L' || c == 'l') && pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') { ++pos_; c = '"'; }
    if (c == '"') return string(t, error);
    if (std::isdigit((unsigned char)c)) {
      size_t start = pos_;
      while (pos_ < s_.size() && std::isalnum((unsigned char)s_[pos_])) ++pos_;
      std::string num = s_.substr(start, pos_ - start);
      while (!num.empty() && (std::toupper((unsigned char)num.back()) == 'L' ||
                              std::toupper((unsigned char)num.back()) == 'U'))
        num.pop_back();
      char* end = nullptr;
      t.value = (long long)std::strtoull(num.c_str(), &end, 0);
      if (num.empty() || *end) { error = "bad number '" + s_.substr(start, pos_ - start) + "'"; return false; }
      t.kind = Tok::Number;
      return true;
    }
    if (is_ident_start(c)) {
      size_t start = pos_;
      while (pos_ < s_.size() && is_ident_char(s_[pos_])) ++pos_;
      t.kind = Tok::Ident;
      t.text = s_.substr(start, pos_ - start);
      return true;
    }
    static const char* two[] = {"&&", "||", "==", "!=", "<=", ">=", "<<", ">>"};
    for (const char* op : two) {
      if (s_.compare(pos_, 2, op) == 0) { t.kind = Tok::Punct; t.text = op; pos_ += 2; return true; }
    }
    t.kind = Tok::Punct;
    t.text = std::string(1, c);
    ++pos_;
    return true;
  }

 private:
  bool string(Token& t, std::string& error) {
    ++pos_;  // opening quote
    std::string bytes;
    for (;;) {
      if (pos_ >= s_.size()) { error = "unterminated string"; return false; }
      char c = s_[pos_++];
      if (c == '"') {
        if (pos_ < s_.size() && s_[pos_] == '"') { bytes += '"'; ++pos_; continue; }
        break;
      }
      if (c != '\\' || pos_ >= s_.size()) { bytes += c; continue; }
      char e = s_[pos_++];
      switch (e) {
        case 'n': bytes += '\n'; break;
        case 't': bytes += '\t'; break;
        case 'r': bytes += '\r'; break;
        case 'a': bytes += '\a'; break;
        case '\\': bytes += '\\'; break;
        case '"': bytes += '"'; break;
        case 'x': {
          unsigned v = 0;
          int k = 0;
          while (k < 4 && pos_ < s_.size() && std::isxdigit((unsigned char)s_[pos_])) {
            v = v * 16 + (unsigned)std::stoi(std::string(1, s_[pos_++]), nullptr, 16);
            ++k;
          }
          flush(t, bytes);
          t.str += (wchar_t)v;
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            unsigned v = (unsigned)(e - '0');
            for (int k = 0; k < 2 && pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '7'; ++k)
              v = v * 8 + (unsigned)(s_[pos_++] - '0');
            flush(t, bytes);
            t.str += (wchar_t)v;
          } else {
            bytes += '\\';
            bytes += e;
          }
      }
    }
    flush(t, bytes);
    t.kind = Tok::String;
    return true;
  }
  static void flush(Token& t, std::string& bytes) {
    append_decoded(t.str, bytes);
    bytes.clear();
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_;
};

using Macros = std::map<std::string, std::string>;

// Tokenizes one line and expands macros (object-like only), at most 32 levels deep.
bool tokenize_line(const std::string& text, int line, const Macros& macros, int depth,
                   std::vector<Token>& out, std::string& error) {
  if (depth > 32) { error = "macro expansion too deep"; return false; }
  Lexer lex(text, line);
  for (;;) {
    Token t;
    if (!lex.next(t, error)) return false;
    if (t.kind == Tok::End) return true;
    if (t.kind == Tok::Ident) {
      auto m = macros.find(t.text);
      if (m != macros.end()) {
        if (!tokenize_line(m->second, line, macros, depth + 1, out, error)) return false;
        continue;
      }
      auto p = predefined().find(t.text);
      if (p != predefined().end()) {
        t.kind = Tok::Number;
        t.value = p->second;
      }
    }
    out.push_back(t);
  }
}

// ---- #if expressions -----------------------------------------------------------------
class CondEval {
 public:
  CondEval(const std::vector<Token>& t) : t_(t) {}
  long long run() { return ternary(); }

 private:
  const Token& peek() const { static Token end; return i_ < t_.size() ? t_[i_] : end; }
  bool is(const char* p) const { return peek().kind == Tok::Punct && peek().text == p; }
  long long ternary() { return binary(0); }
  long long binary(int level) {
    static const std::vector<std::vector<std::string>> ops = {
        {"||"}, {"&&"}, {"|"}, {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
        {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
    if (level == (int)ops.size()) return unary();
    long long v = binary(level + 1);
    for (int guard = 0; guard < 10000; ++guard) {
      const Token& t = peek();
      if (t.kind != Tok::Punct) break;
      auto& set = ops[level];
      if (std::find(set.begin(), set.end(), t.text) == set.end()) break;
      std::string op = t.text;
      ++i_;
      long long r = binary(level + 1);
      if (op == "||") v = v || r; else if (op == "&&") v = v && r;
      else if (op == "|") v |= r; else if (op == "^") v ^= r; else if (op == "&") v &= r;
      else if (op == "==") v = v == r; else if (op == "!=") v = v != r;
      else if (op == "<") v = v < r; else if (op == ">") v = v > r;
      else if (op == "<=") v = v <= r; else if (op == ">=") v = v >= r;
      else if (op == "<<") v <<= (r & 63); else if (op == ">>") v >>= (r & 63);
      else if (op == "+") v += r; else if (op == "-") v -= r; else if (op == "*") v *= r;
      else if (op == "/") v = r ? v / r : 0; else if (op == "%") v = r ? v % r : 0;
    }
    return v;
  }
  long long unary() {
    if (is("!")) { ++i_; return !unary(); }
    if (is("~")) { ++i_; return ~unary(); }
    if (is("-")) { ++i_; return -unary(); }
    if (is("+")) { ++i_; return unary(); }
    if (is("(")) {
      ++i_;
      long long v = ternary();
      if (is(")")) ++i_;
      return v;
    }
    const Token& t = peek();
    if (i_ < t_.size()) ++i_;
    return t.kind == Tok::Number ? t.value : 0;  // unknown identifiers count as 0
  }
  const std::vector<Token>& t_;
  size_t i_ = 0;
};

// ---- Preprocessor --------------------------------------------------------------------
struct Line {
  int number;
  std::string text;
};

bool preprocess(const std::string& text, Macros& macros, std::vector<Line>& out,
                std::string& error) {
  std::vector<std::string> lines = split_lines(strip_comments(text));
  struct Cond { bool active, taken, parent; };
  std::vector<Cond> stack;
  auto active = [&] { return stack.empty() || stack.back().active; };
  int line_no = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    ++line_no;
    std::string line = lines[i];
    int first = line_no;
    while (!line.empty() && line.back() == '\\' && i + 1 < lines.size()) {
      line.pop_back();
      line += lines[++i];
      ++line_no;
    }
    std::string t = trim(line);
    if (t.empty() || t[0] != '#') {
      if (active()) out.push_back({first, line});
      continue;
    }
    std::string rest = trim(t.substr(1));
    size_t k = 0;
    while (k < rest.size() && is_ident_char(rest[k])) ++k;
    std::string dir = rest.substr(0, k), arg = trim(rest.substr(k));
    auto err = [&](const std::string& m) { error = "line " + std::to_string(first) + ": " + m; return false; };
    auto eval = [&](const std::string& expr) {
      // defined(X) and defined X become 1 or 0 before macro expansion.
      std::string e;
      for (size_t p = 0; p < expr.size();) {
        if (expr.compare(p, 7, "defined") == 0 && (p + 7 >= expr.size() || !is_ident_char(expr[p + 7]))) {
          size_t q = p + 7;
          while (q < expr.size() && (expr[q] == ' ' || expr[q] == '(')) ++q;
          size_t s = q;
          while (q < expr.size() && is_ident_char(expr[q])) ++q;
          std::string name = expr.substr(s, q - s);
          while (q < expr.size() && (expr[q] == ' ' || expr[q] == ')')) ++q;
          e += (macros.count(name) || predefined().count(name)) ? " 1 " : " 0 ";
          p = q;
        } else {
          e += expr[p++];
        }
      }
      std::vector<Token> toks;
      std::string ignored;
      tokenize_line(e, first, macros, 0, toks, ignored);
      return CondEval(toks).run() != 0;
    };
    if (dir == "if" || dir == "ifdef" || dir == "ifndef") {
      bool parent = active();
      bool v = false;
      if (parent) {
        std::string name = arg.substr(0, arg.find_first_of(" \t"));
        if (dir == "ifdef") v = macros.count(name) || predefined().count(name);
        else if (dir == "ifndef") v = !(macros.count(name) || predefined().count(name));
        else v = eval(arg);
      }
      stack.push_back({parent && v, parent && v, parent});
    } else if (dir == "elif") {
      if (stack.empty()) return err("#elif without #if");
      Cond& c = stack.back();
      bool v = c.parent && !c.taken && eval(arg);
      c.active = v;
      c.taken = c.taken || v;
    } else if (dir == "else") {
      if (stack.empty()) return err("#else without #if");
      Cond& c = stack.back();
      c.active = c.parent && !c.taken;
      c.taken = true;
    } else if (dir == "endif") {
      if (stack.empty()) return err("#endif without #if");
      stack.pop_back();
    } else if (!active()) {
      continue;
    } else if (dir == "define") {
      size_t e = 0;
      while (e < arg.size() && is_ident_char(arg[e])) ++e;
      std::string name = arg.substr(0, e);
      if (name.empty()) return err("#define without a name");
      if (e < arg.size() && arg[e] == '(') continue;  // function-like: not used by scripts
      macros[name] = trim(arg.substr(e));
    } else if (dir == "undef") {
      macros.erase(trim(arg));
    } else if (dir == "line") {
      line_no = std::atoi(arg.c_str()) - 1;
    } else if (dir == "error") {
      return err("#error " + arg);
    }
    // #include (already flattened or an SDK header) and #pragma need nothing here.
  }
  if (!stack.empty()) { error = "missing #endif"; return false; }
  return true;
}

// ---- Parser --------------------------------------------------------------------------
class Parser {
 public:
  Parser(std::vector<Token> toks, Resources& out) : t_(std::move(toks)), out_(out) {}

  bool run(std::string& error) {
    bool ok = statements();
    if (!ok) error = "line " + std::to_string(peek().line ? peek().line : last_line_) + ": " + error_;
    return ok;
  }

 private:
  const Token& peek(size_t ahead = 0) const {
    static Token end;
    return i_ + ahead < t_.size() ? t_[i_ + ahead] : end;
  }
  const Token& take() {
    const Token& t = peek();
    if (i_ < t_.size()) { last_line_ = t.line; ++i_; }
    return t;
  }
  bool at_end() const { return i_ >= t_.size(); }
  bool is_punct(const char* p, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Punct && peek(ahead).text == p;
  }
  bool is_word(const char* w, size_t ahead = 0) const {
    return peek(ahead).kind == Tok::Ident && upper(peek(ahead).text) == w;
  }
  bool is_begin() const { return is_word("BEGIN") || is_punct("{"); }
  bool is_end() const { return is_word("END") || is_punct("}"); }
  bool fail(const std::string& m) { error_ = m; return false; }
  bool comma() {
    if (is_punct(",")) { take(); return true; }
    return false;
  }
  bool expect_comma() { return comma() || fail("',' expected"); }

  // Expression with C precedence: unary (- ~ NOT !) > * / > + - > & > |.
  bool primary(long long& v) {
    if (is_punct("(")) {
      take();
      if (!expr(v)) return false;
      if (!is_punct(")")) return fail("')' expected");
      take();
      return true;
    }
    if (is_punct("-")) { take(); if (!primary(v)) return false; v = -v; return true; }
    if (is_punct("+")) { take(); return primary(v); }
    if (is_punct("~") || is_word("NOT") || is_punct("!")) {
      take();
      if (!primary(v)) return false;
      v = ~v;
      return true;
    }
    if (peek().kind == Tok::Number) { v = take().value; return true; }
    if (peek().kind == Tok::Ident) return fail("unknown name '" + peek().text + "'");
    return fail("number expected");
  }
  bool binary(int level, long long& v) {
    static const char* ops[][2] = {{"|", nullptr}, {"&", nullptr}, {"+", "-"}, {"*", "/"}};
    if (level == 4) return primary(v);
    if (!binary(level + 1, v)) return false;
    for (int guard = 0; guard < 10000; ++guard) {
      const char* op = nullptr;
      for (const char* o : ops[level]) if (o && is_punct(o)) op = o;
      if (!op) break;
      take();
      long long r;
      if (!binary(level + 1, r)) return false;
      switch (op[0]) {
        case '|': v |= r; break;
        case '&': v &= r; break;
        case '+': v += r; break;
        case '-': v -= r; break;
        case '*': v *= r; break;
        case '/': v = r ? v / r : 0; break;
      }
    }
    return true;
  }
  bool expr(long long& v) { return binary(0, v); }
  bool int_expr(int& v) {
    long long x;
    if (!expr(x)) return false;
    v = (int)x;
    return true;
  }

  // A style: bits joined by '|', where "NOT bit" clears that bit from the defaults.
  bool style(uint32_t& bits) {
    uint32_t set = 0, clear = 0;
    for (int guard = 0; guard < 1000; ++guard) {
      bool neg = false;
      if (is_word("NOT")) { take(); neg = true; }
      long long v;
      if (!binary(1, v)) return false;
      if (neg) { clear |= (uint32_t)v; set &= ~(uint32_t)v; }
      else set |= (uint32_t)v;
      if (!is_punct("|")) break;
      take();
    }
    bits = (bits | set) & ~clear;
    return true;
  }

  bool string(std::wstring& s) {
    if (peek().kind != Tok::String) return fail("string expected");
    s = take().str;
    while (peek().kind == Tok::String) s += take().str;  // adjacent literals join
    return true;
  }

  bool name(ResName& n) {
    if (peek().kind == Tok::Ident) {
      n.is_number = false;
      std::wstring w;
      append_decoded(w, upper(take().text));
      n.text = w;
      return true;
    }
    if (peek().kind == Tok::String) {
      n.is_number = false;
      std::wstring w = take().str;
      for (wchar_t& c : w) c = (wchar_t)std::towupper(c);
      n.text = w;
      return true;
    }
    long long v;
    if (!primary(v)) return false;
    n.is_number = true;
    n.number = (int)v;
    return true;
  }

  bool skip_block() {
    if (!is_begin()) return fail("BEGIN expected");
    int depth = 0;
    while (!at_end()) {
      if (is_begin()) ++depth;
      else if (is_end() && --depth == 0) { take(); return true; }
      take();
    }
    return fail("END expected");
  }

  // Memory options of 16-bit scripts (DISCARDABLE, MOVEABLE, ...): accepted, no effect.
  void skip_memory_options() {
    static const char* words[] = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE",
                                  "PRELOAD", "LOADONCALL", "SHARED", "NONSHARED"};
    for (int guard = 0; guard < 16; ++guard) {
      bool any = false;
      for (const char* w : words) any = any || is_word(w);
      if (!any) return;
      take();
    }
  }

  // Options between a resource's header and its BEGIN that mean nothing here.
  bool skip_common_option() {
    if (is_word("LANGUAGE")) {
      take();
      long long a, b;
      return expr(a) && expect_comma() && expr(b);
    }
    if (is_word("CHARACTERISTICS") || is_word("VERSION")) {
      take();
      long long v;
      return expr(v);
    }
    return false;
  }

  bool statements() {
    while (!at_end()) {
      if (is_word("LANGUAGE")) {
        if (!skip_common_option()) return false;
        continue;
      }
      if (is_word("STRINGTABLE")) {
        take();
        skip_memory_options();
        if (!stringtable()) return false;
        continue;
      }
      if (is_punct("#") ) {  // a stray directive the preprocessor left (e.g. #pragma)
        int line = peek().line;
        while (!at_end() && peek().line == line) take();
        continue;
      }
      ResName n;
      if (!name(n)) return false;
      if (peek().kind == Tok::End) return fail("resource type expected");
      std::string type = peek().kind == Tok::Ident ? upper(peek().text) : std::string();
      take();
      skip_memory_options();
      bool ok;
      if (type == "ACCELERATORS") ok = accelerators(n);
      else if (type == "DIALOG" || type == "DIALOGEX") ok = dialog(n, type == "DIALOGEX");
      else if (type == "ICON") {
        std::wstring file;
        ok = string(file);
        if (ok) {
          std::string narrow;
          for (wchar_t c : file) narrow += (char)c;
          out_.icons[n] = narrow;
        }
      } else ok = skip_resource();
      if (!ok) return false;
    }
    return true;
  }

  // MENU, VERSIONINFO, manifests and other kinds: a file name or a block.
  bool skip_resource() {
    for (int guard = 0; guard < 100000 && !at_end(); ++guard) {
      if (peek().kind == Tok::String) { std::wstring s; return string(s); }
      if (is_begin()) return skip_block();
      take();
    }
    return fail("resource body expected");
  }

  bool stringtable() {
    while (!is_begin()) {
      if (at_end()) return fail("BEGIN expected");
      if (!skip_common_option()) return fail("unexpected '" + peek().text + "' in STRINGTABLE");
    }
    take();
    while (!is_end()) {
      if (at_end()) return fail("END expected");
      int id;
      std::wstring s;
      if (!int_expr(id)) return false;
      comma();
      if (!string(s)) return false;
      out_.strings[id] = s;
    }
    take();
    return true;
  }

  bool accelerators(const ResName& n) {
    while (!is_begin()) {
      if (at_end()) return fail("BEGIN expected");
      if (!skip_common_option()) return fail("unexpected '" + peek().text + "' in ACCELERATORS");
    }
    take();
    std::vector<Accelerator> table;
    while (!is_end()) {
      if (at_end()) return fail("END expected");
      Accelerator a;
      std::wstring key_text;
      long long key = 0;
      bool is_text = peek().kind == Tok::String;
      if (is_text) {
        if (!string(key_text)) return false;
        if (key_text.size() == 2 && key_text[0] == L'^') key = std::towupper(key_text[1]) & 0x1F;
        else if (key_text.size() == 1) key = key_text[0];
        else return fail("accelerator key must be one character");
      } else if (!expr(key)) {
        return false;
      }
      int cmd;
      if (!expect_comma() || !int_expr(cmd)) return false;
      bool virtkey = false;
      while (comma()) {
        if (peek().kind != Tok::Ident) return fail("accelerator option expected");
        std::string opt = upper(take().text);
        if (opt == "VIRTKEY") virtkey = true;
        else if (opt == "ASCII") virtkey = false;
        else if (opt == "NOINVERT") a.flags |= FNOINVERT;
        else if (opt == "ALT") a.flags |= FALT;
        else if (opt == "SHIFT") a.flags |= FSHIFT;
        else if (opt == "CONTROL") a.flags |= FCONTROL;
        else return fail("unknown accelerator option '" + opt + "'");
      }
      if (virtkey) {
        a.flags |= FVIRTKEY;
        if (is_text) key = std::towupper((wint_t)key);
      } else if (a.flags & (FSHIFT | FCONTROL)) {
        return fail("SHIFT and CONTROL need VIRTKEY");
      }
      a.key = (uint16_t)key;
      a.command = (uint16_t)cmd;
      table.push_back(a);
    }
    take();
    out_.accelerators[n] = table;
    return true;
  }

  bool dialog(const ResName& n, bool ex) {
    DialogTemplate d;
    d.extended = ex;
    d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!int_expr(d.x) || !expect_comma() || !int_expr(d.y) || !expect_comma() ||
        !int_expr(d.cx) || !expect_comma() || !int_expr(d.cy))
      return false;
    if (ex && comma()) { int help; if (!int_expr(help)) return false; }
    bool has_caption = false;
    while (!is_begin()) {
      if (at_end()) return fail("BEGIN expected");
      if (is_word("STYLE")) {
        take();
        d.style = 0;
        if (!style(d.style)) return false;
      } else if (is_word("EXSTYLE")) {
        take();
        d.ex_style = 0;
        if (!style(d.ex_style)) return false;
      } else if (is_word("CAPTION")) {
        take();
        if (!string(d.caption)) return false;
        has_caption = true;
      } else if (is_word("FONT")) {
        take();
        d.has_font = true;
        if (!int_expr(d.point_size) || !expect_comma() || !string(d.face_name)) return false;
        while (comma()) { long long v; if (!expr(v)) return false; }  // weight, italic, charset
      } else if (is_word("CLASS") || is_word("MENU")) {
        take();
        ResName ignored;
        if (!name(ignored)) return false;
      } else if (!skip_common_option()) {
        return fail("unexpected '" + peek().text + "' in dialog header");
      }
    }
    if (has_caption) d.style |= WS_CAPTION;
    if (d.has_font) d.style |= DS_SETFONT;
    take();
    while (!is_end()) {
      if (at_end()) return fail("END expected");
      ControlTemplate c;
      if (!control(c, ex)) return false;
      d.controls.push_back(c);
    }
    take();
    out_.dialogs[n] = d;
    return true;
  }

  bool control_text(ControlTemplate& c) {
    if (peek().kind == Tok::String) return string(c.text);
    long long v;
    if (!expr(v)) return false;
    c.text_resource = (int)v;
    return true;
  }

  bool rect(ControlTemplate& c) {
    return int_expr(c.x) && expect_comma() && int_expr(c.y) && expect_comma() &&
           int_expr(c.cx) && expect_comma() && int_expr(c.cy);
  }

  // Trailing ", style [, exstyle [, helpid]]" of the statement forms.
  bool tail(ControlTemplate& c, bool ex) {
    if (comma() && !style(c.style)) return false;
    if (comma() && !style(c.ex_style)) return false;
    if (ex && comma()) { long long help; if (!expr(help)) return false; }
    return true;
  }

  bool control(ControlTemplate& c, bool ex) {
    if (peek().kind != Tok::Ident) return fail("control statement expected");
    std::string kw = upper(take().text);
    const uint32_t base = WS_CHILD | WS_VISIBLE;
    struct Form { const char* kw; const wchar_t* cls; uint32_t style; bool text; };
    static const Form forms[] = {
        {"LTEXT", L"Static", SS_LEFT | WS_GROUP, true},
        {"RTEXT", L"Static", SS_RIGHT | WS_GROUP, true},
        {"CTEXT", L"Static", SS_CENTER | WS_GROUP, true},
        {"PUSHBUTTON", L"Button", BS_PUSHBUTTON | WS_TABSTOP, true},
        {"DEFPUSHBUTTON", L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
        {"PUSHBOX", L"Button", BS_PUSHBOX | WS_TABSTOP, true},
        {"GROUPBOX", L"Button", BS_GROUPBOX, true},
        {"RADIOBUTTON", L"Button", BS_RADIOBUTTON | WS_TABSTOP, true},
        {"AUTORADIOBUTTON", L"Button", BS_AUTORADIOBUTTON | WS_TABSTOP, true},
        {"CHECKBOX", L"Button", BS_CHECKBOX | WS_TABSTOP, true},
        {"AUTOCHECKBOX", L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
        {"STATE3", L"Button", BS_3STATE | WS_TABSTOP, true},
        {"AUTO3STATE", L"Button", BS_AUTO3STATE | WS_TABSTOP, true},
        {"EDITTEXT", L"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
        {"LISTBOX", L"ListBox", WS_BORDER | 0x1 /* LBS_NOTIFY */, false},
        {"COMBOBOX", L"ComboBox", 0, false},
        {"SCROLLBAR", L"ScrollBar", 0, false},
    };
    if (kw == "CONTROL") {
      c.style = base;
      if (!control_text(c) || !expect_comma() || !int_expr(c.id) || !expect_comma()) return false;
      if (peek().kind == Tok::String) {
        if (!string(c.class_name)) return false;
      } else if (peek().kind == Tok::Ident) {
        std::string cls = upper(take().text);
        static const std::map<std::string, std::wstring> known = {
            {"BUTTON", L"Button"}, {"EDIT", L"Edit"}, {"STATIC", L"Static"},
            {"LISTBOX", L"ListBox"}, {"COMBOBOX", L"ComboBox"}, {"SCROLLBAR", L"ScrollBar"}};
        auto k = known.find(cls);
        if (k == known.end()) return fail("unknown control class '" + cls + "'");
        c.class_name = k->second;
      } else {
        return fail("control class expected");
      }
      if (!expect_comma() || !style(c.style) || !expect_comma() || !rect(c)) return false;
      if (comma() && !style(c.ex_style)) return false;
      if (ex && comma()) { long long help; if (!expr(help)) return false; }
      return true;
    }
    if (kw == "ICON") {
      c.class_name = L"Static";
      c.style = base | SS_ICON;
      if (!control_text(c) || !expect_comma() || !int_expr(c.id) || !expect_comma() ||
          !int_expr(c.x) || !expect_comma() || !int_expr(c.y))
        return false;
      if (comma() && (!int_expr(c.cx) || !expect_comma() || !int_expr(c.cy))) return false;
      return tail(c, ex);
    }
    for (const Form& f : forms) {
      if (kw != f.kw) continue;
      c.class_name = f.cls;
      c.style = base | f.style;
      if (f.text && (!control_text(c) || !expect_comma())) return false;
      if (!int_expr(c.id) || !expect_comma() || !rect(c)) return false;
      return tail(c, ex);
    }
    return fail("unknown control statement '" + kw + "'");
  }

  std::vector<Token> t_;
  Resources& out_;
  size_t i_ = 0;
  int last_line_ = 0;
  std::string error_;
};

bool is_sdk_header(std::string name) {
  name = upper(name);
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  static const std::set<std::string> sdk = {
      "WINDOWS.H", "WINRES.H", "WINRESRC.H", "AFXRES.H", "WINUSER.H", "WINUSER.RH",
      "COMMCTRL.H", "RICHEDIT.H", "WINVER.H", "NTVERP.H", "DLGS.H", "WINDOWSX.H",
      "WINNT.H", "WINNT.RH", "VERRSRC.H", "SDKDDKVER.H"};
  return sdk.count(name) != 0;
}

bool flatten(const std::string& text, const std::string& file, const IncludeLoader& loader,
             int depth, std::string& out, std::string& error) {
  if (depth > 16) { error = "includes nested too deep at " + file; return false; }
  std::vector<std::string> lines = split_lines(text);
  out += "#line 1\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string t = trim(lines[i]);
    if (t.size() > 1 && t[0] == '#') {
      std::string rest = trim(t.substr(1));
      if (rest.compare(0, 7, "include") == 0) {
        std::string arg = trim(rest.substr(7));
        char close = arg.empty() ? 0 : arg[0] == '<' ? '>' : arg[0] == '"' ? '"' : 0;
        size_t end = close ? arg.find(close, 1) : std::string::npos;
        if (end == std::string::npos) {
          error = file + ":" + std::to_string(i + 1) + ": bad #include";
          return false;
        }
        std::string name = arg.substr(1, end - 1);
        if (close == '"' && !is_sdk_header(name)) {
          std::string contents;
          if (!loader(name, contents)) {
            error = file + ":" + std::to_string(i + 1) + ": cannot find include file " + name;
            return false;
          }
          if (!flatten(contents, name, loader, depth + 1, out, error)) return false;
          out += "#line " + std::to_string(i + 2) + "\n";
        } else {
          out += "\n";
        }
        continue;
      }
    }
    out += lines[i];
    out += '\n';
  }
  return true;
}

}  // namespace

bool flatten_includes(const std::string& text, const IncludeLoader& loader, std::string& out,
                      std::string& error) {
  out.clear();
  return flatten(text, "script", loader, 0, out, error);
}

bool parse(const std::string& text, Resources& out, std::string& error) {
  Macros macros;
  std::vector<Line> lines;
  if (!preprocess(text, macros, lines, error)) return false;
  std::vector<Token> toks;
  for (const Line& l : lines) {
    std::string e;
    if (!tokenize_line(l.text, l.number, macros, 0, toks, e)) {
      error = "line " + std::to_string(l.number) + ": " + e;
      return false;
    }
  }
  return Parser(std::move(toks), out).run(error);
}

}  // namespace vapora::rc
