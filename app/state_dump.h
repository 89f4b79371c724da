// A debug dump of the program state for the end-to-end tests. Off unless the
// environment variable VAPORA_STATE_DUMP names a file; then, after each message the
// main window handles (and just before a results dialog opens), the state is written
// there as "name value ..." lines, under a temporary name and renamed, so a reader
// never sees half a file.
#pragma once

// Writes the dump, labelled with the event that led to it. Does nothing when off.
void dump_program_state(const char* event);

// Counters shown in the dump: simple beeps given, message boxes shown for typed input.
void count_beep();
void count_refusal();
