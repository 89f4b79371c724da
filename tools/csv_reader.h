// The tools' one CSV reader (the batch's input and vapora-chart's --states): RFC 4180
// fields (quoted fields with doubled quotes inside, unquoted fields trimmed of blanks),
// LF, CRLF and CR line ends, a UTF-8 byte-order mark at the start.
//
// One line is one record: a line break ends the record even inside quotes (the record is
// then malformed), so that every input line gets its answer and a program feeding the
// batch row by row never waits on a quote left open. A record longer than
// csv_max_record bytes is one record marked too_long, read past in bounded memory.
//
// The input must be UTF-8 text. A regular file is checked as a whole before its first
// record is given out, so a file that is not UTF-8 is refused before any row is answered.
// A pipe or a terminal is checked block by block as it arrives, before any record of the
// block is given out; UTF-16 is recognised from its byte-order mark or a NUL byte in the
// first block, so it too is refused before the first row.
//
// Ours, not Debian's libcsv or fast-cpp-csv-parser (libfccp-dev): libcsv lets a record run
// on across lines inside quotes and grows a field without bound, fast-cpp-csv-parser wants
// a fixed column count and throws on a bad row; neither checks the encoding or can hand a
// row out before the next line arrives, which is all this reader adds to the parsing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t csv_max_record = 65536;  // bytes of one line, its line break excluded

struct CsvRecord {
    std::vector<std::string> fields;  // at least one; empty fields at the end dropped
    long line = 0;                    // 1 for the first line
    bool skipped = false;             // blank, or a comment: first non-blank character '#'
    bool malformed = false;           // a quote left open, or text after a closing quote
    bool too_long = false;            // longer than csv_max_record; fields then empty
};

enum class CsvEnd {
    record,      // *record holds the next record
    end,         // the input ended
    read_error,  // reading failed; errno_value says why
    utf16,       // UTF-16 (byte-order mark or NUL bytes), not UTF-8 text
    not_utf8,    // a byte sequence that is not UTF-8
};

// Where the validation of a byte stream stands between blocks.
struct Utf8Check {
    int pending = 0;                        // continuation bytes still expected
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the next continuation byte
    bool nul = false;                       // stopped at a NUL byte
};

struct CsvInput {
    int fd = -1;
    bool whole_file_checked = false;  // a regular file, validated before the first record
    bool at_start = true;             // the byte-order marks are still to be looked for
    bool skip_lf = false;             // a CR ended the last line: an LF right after is its part
    bool at_eof = false;
    long line = 0;
    int errno_value = 0;
    Utf8Check check;
    // Called before the reader waits for more of a pipe or terminal (not a regular file),
    // so that the batch can hand out its answers before it waits.
    void (*before_wait)(void* context) = nullptr;
    void* context = nullptr;
    std::size_t begin = 0, end = 0;
    std::vector<char> buffer = std::vector<char>(65536);
};

// Checks n bytes of a UTF-8 stream; false at the first byte that cannot belong to UTF-8
// text (a NUL byte included, recorded in check->nul).
bool utf8_continues(const unsigned char* bytes, std::size_t n, Utf8Check* check);

// Starts reading fd; a regular file is validated whole here (pread, the offset kept).
// Returns CsvEnd::record when reading can go on, else why the input is refused.
CsvEnd csv_open(int fd, CsvInput* input);

// The next record into *record (its storage reused).
CsvEnd csv_next(CsvInput* input, CsvRecord* record);
