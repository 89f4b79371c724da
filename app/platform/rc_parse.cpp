// Reader of preprocessed resource scripts. The C preprocessor has already replaced every
// name by its value, so the reader sees numbers, strings, keywords and punctuation, and a
// name still standing is one that no header defines. The defaults a statement adds to a
// control's style come from user.h, the constants the program itself sees.
#include "rc_parse.h"

#include <glib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "user.h"

namespace vapora::rc {
namespace {

static_assert(sizeof(wchar_t) == sizeof(gunichar), "script text is read as UTF-32");

struct Error {
    std::string message;
};

enum class Kind { Word, Number, String, Punct, End };

struct Token {
    Kind kind;
    std::string text;  // as written; a string's bytes without its quotes
    long value;
    std::string where;  // "file:line"
};

bool is_word_char(char c) {
    return std::isalnum((unsigned char)c) || c == '_';
}

// A line marker, `# 12 "file"`, says which line of which file the next line is; any other
// directive the preprocessor leaves (a #pragma) means nothing to a script.
void read_marker(const char* line, std::string& file, int& number) {
    char name[4096];
    int n = 0;
    if (std::sscanf(line, "# %d \"%4095[^\"\n]\"", &n, name) != 2) return;
    file = name;
    number = n - 1;  // the marker's own newline counts one
}

std::vector<Token> tokenize(const std::string& s) {
    std::vector<Token> out;
    std::string file;
    int line = 1;
    auto where = [&] { return (file.empty() ? "line " : file + ":") + std::to_string(line); };
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        const size_t start = i++;
        if (c == '\n') {
            ++line;
        } else if (c == '#' && (start == 0 || s[start - 1] == '\n')) {
            read_marker(s.c_str() + start, file, line);
            i = std::min(s.find('\n', start), s.size());
        } else if (c == '"') {  // the scripts' texts hold neither quotes nor escapes
            const size_t close = s.find_first_of("\"\n", i);
            if (close == std::string::npos || s[close] != '"')
                throw Error{where() + ": unterminated string"};
            out.push_back({Kind::String, s.substr(i, close - i), 0, where()});
            i = close + 1;
        } else if (std::isdigit((unsigned char)c)) {
            char* end = nullptr;
            long value = (long)std::strtoul(s.c_str() + start, &end, 0);
            for (i = end - s.c_str(); i < s.size() && std::strchr("uUlL", s[i]);) ++i;
            if (i < s.size() && is_word_char(s[i])) throw Error{where() + ": malformed number"};
            out.push_back({Kind::Number, s.substr(start, i - start), value, where()});
        } else if (is_word_char(c)) {
            while (i < s.size() && is_word_char(s[i])) ++i;
            out.push_back({Kind::Word, s.substr(start, i - start), 0, where()});
        } else if (!std::isspace((unsigned char)c)) {
            out.push_back({Kind::Punct, std::string(1, c), 0, where()});
        }
    }
    out.push_back({Kind::End, "", 0, where()});
    return out;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    void run(Resources& r) {
        while (peek().kind != Kind::End) {
            if (accept("LANGUAGE")) {
                expr(), expect(","), expr();
            } else if (accept("STRINGTABLE")) {
                expect("BEGIN");
                while (!block_end()) {
                    const int id = number();
                    accept(",");
                    r.strings[id] = text();
                }
            } else {
                ResName name;
                name.number = number();
                if (accept("ICON"))
                    r.icons[name] = bytes();
                else if (accept("ACCELERATORS"))
                    r.accelerators[name] = accelerators();
                else if (accept("DIALOG") || accept("DIALOGEX"))
                    r.dialogs[name] = dialog();
                else if (accept("MENU"))
                    skip_block();  // the window is created without a menu
                else if (peek().kind == Kind::Number)
                    take(), bytes();  // a file of a numbered type
                else
                    fail("resource type expected, found " + found());
            }
        }
    }

private:
    const Token& peek() const { return t_[i_]; }  // the last token is End
    const Token& take() { return t_[peek().kind == Kind::End ? i_ : i_++]; }
    std::string found() const {
        return peek().kind == Kind::End ? "the end of the script" : "'" + peek().text + "'";
    }
    [[noreturn]] void fail(const std::string& message) const {
        throw Error{peek().where + ": " + message};
    }
    bool accept(const char* text) {
        if (peek().kind == Kind::String || peek().text != text) return false;
        take();
        return true;
    }
    void expect(const char* text) {
        if (!accept(text)) fail(std::string("'") + text + "' expected, found " + found());
    }
    // Whether a BEGIN ... END block ends here; a script that stops inside one is refused.
    bool block_end() {
        if (peek().kind == Kind::End) fail("'END' expected, found " + found());
        return accept("END");
    }
    void skip_block() {
        expect("BEGIN");
        for (int depth = 1; depth > 0;) {
            if (block_end())
                --depth;
            else if (accept("BEGIN"))
                ++depth;
            else
                take();
        }
    }

    // A number, or a style joined by '|', as the headers' macros expand.
    long value() {
        if (accept("(")) {
            const long v = expr();
            expect(")");
            return v;
        }
        if (accept("-")) return -value();
        if (peek().kind == Kind::Number) return take().value;
        if (peek().kind == Kind::Word) fail("'" + peek().text + "' is not defined");
        fail("number expected, found " + found());
    }
    long expr() {
        long v = value();
        while (accept("|")) v |= value();
        return v;
    }
    int number() { return (int)expr(); }
    void rect(int& x, int& y, int& cx, int& cy) {
        x = number(), expect(","), y = number(), expect(",");
        cx = number(), expect(","), cy = number();
    }

    std::string bytes() {
        if (peek().kind != Kind::String) fail("string expected, found " + found());
        return take().text;
    }
    std::wstring text() {
        const std::string where = peek().where, s = bytes();
        glong n = 0;
        gunichar* w = g_utf8_to_ucs4(s.data(), (glong)s.size(), nullptr, &n, nullptr);
        if (!w) throw Error{where + ": text is not UTF-8"};
        std::wstring out(w, w + n);
        g_free(w);
        return out;
    }

    std::vector<Accelerator> accelerators() {
        std::vector<Accelerator> table;
        expect("BEGIN");
        while (!block_end()) {
            Accelerator a;
            if (peek().kind != Kind::String || peek().text.size() != 1)
                fail("an accelerator's key is one character in quotes, found " + found());
            a.key = (unsigned char)take().text[0];
            expect(",");
            a.command = (uint16_t)number();
            while (accept(",")) {  // a character, with or without Alt
                if (accept("ALT"))
                    a.flags |= FALT;
                else if (!accept("ASCII"))
                    fail("ASCII or ALT expected, found " + found());
            }
            table.push_back(a);
        }
        return table;
    }

    DialogTemplate dialog() {
        DialogTemplate d;
        d.style = WS_POPUP | WS_BORDER | WS_SYSMENU;  // a template without STYLE
        rect(d.x, d.y, d.cx, d.cy);
        for (;;) {
            if (accept("STYLE")) {
                d.style = (uint32_t)expr();
            } else if (accept("CAPTION")) {
                d.caption = text();
            } else if (accept("FONT")) {
                d.has_font = true;
                d.point_size = number();
                expect(",");
                d.face_name = text();
                while (accept(",")) expr();  // weight, italic, character set
            } else {
                break;
            }
        }
        expect("BEGIN");
        while (!block_end()) d.controls.push_back(control());
        return d;
    }

    // `KEYWORD [text,] id, x, y, cx, cy [, style]`: the class and the default style come from
    // the keyword, and the style given adds to them. EDITTEXT alone has no text.
    ControlTemplate control() {
        static const std::map<std::string, std::pair<const wchar_t*, uint32_t>> forms = {
            {"LTEXT", {L"Static", SS_LEFT | WS_GROUP}},
            {"ICON", {L"Static", SS_ICON}},
            {"GROUPBOX", {L"Button", BS_GROUPBOX}},
            {"PUSHBUTTON", {L"Button", BS_PUSHBUTTON | WS_TABSTOP}},
            {"DEFPUSHBUTTON", {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP}},
            {"RADIOBUTTON", {L"Button", BS_RADIOBUTTON | WS_TABSTOP}},
            {"EDITTEXT", {L"Edit", ES_LEFT | WS_BORDER | WS_TABSTOP}}};
        auto form = forms.find(peek().text);
        if (peek().kind != Kind::Word || form == forms.end())
            fail("control statement expected, found " + found());
        ControlTemplate c;
        c.class_name = form->second.first;
        c.style = WS_CHILD | WS_VISIBLE | form->second.second;
        if (take().text != "EDITTEXT") {
            if (peek().kind == Kind::String)
                c.text = text();
            else
                c.text_resource = number();  // an icon named by its number
            expect(",");
        }
        c.id = number();
        expect(",");
        rect(c.x, c.y, c.cx, c.cy);
        if (accept(",")) c.style |= (uint32_t)expr();
        return c;
    }

    std::vector<Token> t_;
    size_t i_ = 0;
};

}  // namespace

bool parse(const std::string& text, Resources& out, std::string& error) {
    try {
        Parser(tokenize(text)).run(out);
        return true;
    } catch (const Error& e) {
        error = e.message;
        return false;
    }
}

}  // namespace vapora::rc
