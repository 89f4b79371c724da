// The tools' CSV reader: records from a file descriptor through one 64 kB buffer.
#include "tools/csv_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

#ifdef _WIN32
// The Windows C runtime has no pread: seek, read and seek back (vapora-calc.exe reads each
// descriptor from one thread).
ssize_t pread(int fd, void* buffer, std::size_t n, off_t at) {
    const off_t here = lseek(fd, 0, SEEK_CUR);
    if (here < 0 || lseek(fd, at, SEEK_SET) < 0) return -1;
    const int count = read(fd, buffer, static_cast<unsigned>(n));
    lseek(fd, here, SEEK_SET);
    return count;
}
#endif

bool is_blank(int c) {
    return c == ' ' || c == '\t';
}

// A block that begins a file and is refused: UTF-16 by its byte-order mark or a NUL byte
// (what UTF-16 makes of every ASCII character), otherwise some other encoding.
CsvEnd refusal_of(const unsigned char* start, std::size_t n, const Utf8Check& check) {
    const bool utf16_mark = n >= 2 && ((start[0] == 0xFF && start[1] == 0xFE) ||
                                       (start[0] == 0xFE && start[1] == 0xFF));
    return utf16_mark || check.nul ? CsvEnd::utf16 : CsvEnd::not_utf8;
}

// Validates a regular file from its current offset to its end, before anything is read.
CsvEnd check_whole_file(int fd, CsvInput* input) {
    const off_t start = lseek(fd, 0, SEEK_CUR);
    unsigned char first[2] = {0, 0};
    std::size_t first_count = 0;
    Utf8Check check;
    // Ends at the file's end: every pass reads at least one byte or stops.
    for (off_t at = start < 0 ? 0 : start;;) {
        const ssize_t n = pread(fd, input->buffer.data(), input->buffer.size(), at);
        if (n < 0) {
            input->errno_value = errno;
            return CsvEnd::read_error;
        }
        if (n == 0) break;
        const auto* bytes = reinterpret_cast<const unsigned char*>(input->buffer.data());
        for (ssize_t i = 0; i < n && first_count < 2; ++i) first[first_count++] = bytes[i];
        if (!utf8_continues(bytes, static_cast<std::size_t>(n), &check))
            return refusal_of(first, first_count, check);
        at += n;
    }
    return check.pending == 0 ? CsvEnd::record : CsvEnd::not_utf8;
}

// Reads more input behind the bytes not yet parsed. At the end of a pipe or terminal an
// unfinished UTF-8 sequence is refused; a new block is refused before any of it is used.
CsvEnd refill(CsvInput* in) {
    if (!in->whole_file_checked && in->before_wait) in->before_wait(in->context);
    std::memmove(in->buffer.data(), in->buffer.data() + in->begin, in->end - in->begin);
    in->end -= in->begin;
    in->begin = 0;
    const ssize_t n = read(in->fd, in->buffer.data() + in->end, in->buffer.size() - in->end);
    if (n < 0) {
        in->errno_value = errno;
        return CsvEnd::read_error;
    }
    if (n == 0) {
        in->at_eof = true;
        return in->check.pending == 0 ? CsvEnd::record : CsvEnd::not_utf8;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(in->buffer.data());
    if (!in->whole_file_checked &&
        !utf8_continues(bytes + in->end, static_cast<std::size_t>(n), &in->check))
        return refusal_of(bytes, in->at_start ? in->end + n : 0, in->check);
    in->end += n;
    return CsvEnd::record;
}

// Drops a UTF-8 byte-order mark at the start, once enough bytes are there to tell.
CsvEnd skip_byte_order_mark(CsvInput* in) {
    static const char mark[] = "\xEF\xBB\xBF";
    // At most three reads: each adds a byte, or the input ends.
    for (int pass = 0; pass < 3; ++pass) {
        const std::size_t have = in->end - in->begin;
        if (have >= 3 || in->at_eof || std::memcmp(in->buffer.data() + in->begin, mark, have) != 0)
            break;
        const CsvEnd e = refill(in);
        if (e != CsvEnd::record) return e;
    }
    in->at_start = false;
    if (in->end - in->begin >= 3 && std::memcmp(in->buffer.data() + in->begin, mark, 3) == 0)
        in->begin += 3;
    return CsvEnd::record;
}

// Blanks the unquoted end of a field leaves behind.
void trim_end(std::string* field) {
    while (!field->empty() && is_blank(field->back())) field->pop_back();
}

}  // namespace

bool utf8_continues(const unsigned char* bytes, std::size_t n, Utf8Check* check) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char b = bytes[i];
        if (check->pending > 0) {
            if (b < check->low || b > check->high) return false;
            check->low = 0x80, check->high = 0xBF;
            --check->pending;
        } else if (b < 0x80) {
            if (b == 0) return !(check->nul = true);
        } else if (b < 0xC2 || b > 0xF4) {
            return false;  // a continuation byte alone, an overlong pair, beyond U+10FFFF
        } else if (b < 0xE0) {
            check->pending = 1;
        } else if (b < 0xF0) {  // no overlong forms, no surrogates
            check->pending = 2;
            check->low = b == 0xE0 ? 0xA0 : 0x80;
            check->high = b == 0xED ? 0x9F : 0xBF;
        } else {
            check->pending = 3;
            check->low = b == 0xF0 ? 0x90 : 0x80;
            check->high = b == 0xF4 ? 0x8F : 0xBF;
        }
    }
    return true;
}

CsvEnd csv_open(int fd, CsvInput* input) {
    input->fd = fd;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const CsvEnd e = check_whole_file(fd, input);
        if (e != CsvEnd::record) return e;
        input->whole_file_checked = true;
    }
    return CsvEnd::record;
}

CsvEnd csv_next(CsvInput* in, CsvRecord* r) {
    if (in->at_start) {
        const CsvEnd e = skip_byte_order_mark(in);
        if (e != CsvEnd::record) return e;
    }
    enum { field_start, unquoted, quoted, quote_seen, after_quote, skip_line } state = field_start;
    r->fields.resize(1);
    r->fields[0].clear();
    r->skipped = r->malformed = r->too_long = false;
    std::string* field = &r->fields[0];
    std::size_t length = 0;
    bool content = false, line_end = false;
    // Ends at the line's end or the input's: every pass takes one byte.
    while (!line_end) {
        if (in->begin == in->end) {
            if (in->at_eof) break;
            const CsvEnd e = refill(in);
            if (e != CsvEnd::record) return e;
            continue;
        }
        const char c = in->buffer[in->begin++];
        if (in->skip_lf) {
            in->skip_lf = false;
            if (c == '\n') continue;
        }
        if (c == '\n' || c == '\r') {
            in->skip_lf = c == '\r';
            line_end = true;
            break;
        }
        if (++length > csv_max_record && !r->too_long) {
            r->too_long = true;
            state = skip_line;
            r->fields.assign(1, std::string());
            field = &r->fields[0];
        }
        switch (state) {
            case field_start:
                if (is_blank(c)) break;
                content = true;
                if (c == '#' && r->fields.size() == 1) {
                    r->skipped = true;
                    state = skip_line;
                } else if (c == '"') {
                    state = quoted;
                } else if (c == ',') {
                    field = &r->fields.emplace_back();
                } else {
                    *field += c;
                    state = unquoted;
                }
                break;
            case unquoted:
                if (c != ',') {
                    *field += c;
                    break;
                }
                trim_end(field);
                field = &r->fields.emplace_back();
                state = field_start;
                break;
            case quoted:
                if (c == '"')
                    state = quote_seen;
                else
                    *field += c;
                break;
            case quote_seen:  // a doubled quote is one quote; otherwise the field is closed
                if (c == '"') {
                    *field += c;
                    state = quoted;
                    break;
                }
                state = after_quote;
                [[fallthrough]];
            case after_quote:
                if (c == ',') {
                    field = &r->fields.emplace_back();
                    state = field_start;
                } else if (!is_blank(c)) {
                    r->malformed = true;
                }
                break;
            case skip_line:
                break;
        }
    }
    if (!line_end && length == 0) return CsvEnd::end;  // nothing after the last line break
    ++in->line;
    r->line = in->line;
    if (state == unquoted) trim_end(field);
    if (state == quoted) r->malformed = true;  // the line ended inside quotes
    if (!content) r->skipped = true;
    while (r->fields.size() > 1 && r->fields.back().empty()) r->fields.pop_back();
    return CsvEnd::record;
}
