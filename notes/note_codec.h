// Note entries, the byte format of a note list file, and the colour rule of note marks. Portable:
// no file or window here; the store (note_list.h) reads and writes the bytes.
//
// A list file is the tag 100 (16-bit little-endian) followed by one record per present entry in
// ascending index: index (16 bits), text length n (16 bits), colour word (32 bits), n text bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class NoteKind { Day = 1, SolarYearly = 2, LunarYearly = 3, Weekly = 4 };

// Bit 24 of a colour word: the user chose the colour, held in bits 0 ... 23 as 0x00BBGGRR.
constexpr uint32_t OwnColorFlag = 0x01000000;

// The colour (0x00BBGGRR) in which a note's mark is drawn.
uint32_t NoteColor(uint32_t colourWord, NoteKind kind);

constexpr uint16_t kNoteListTag = 100;
constexpr int kMaxNoteLength = 65535;  // the record's length field is 16 bits

// One slot of a note list. Present when text is not null; a present entry may have an empty
// text when its colour word carries OwnColorFlag (a colour-only mark).
struct NoteEntry {
    uint16_t length = 0;
    uint32_t colourWord = 0;
    std::unique_ptr<char[]> text;  // NUL-terminated, or null

    // Replaces the entry: absent when no own colour is set and text is null or empty (its first
    // byte NUL); else present with the first `length` bytes of text (none when text is null, as
    // for a colour-only mark). A length outside
    // 0 ... 65535 is refused: -1, the entry unchanged. Returns 0 otherwise.
    int Assign(const char* text, int length, uint32_t colourWord);
    void Clear();
    bool Present() const { return text != nullptr; }
};

// The note to store when the user confirmed mine while another program or PC changed the same
// note to theirs: mine, then on its own line "（另一处的修改）" and theirs, when that fits within
// kMaxNoteLength bytes (true); else mine alone (false: theirs must be kept elsewhere whole).
bool MergeConflictingNote(const std::string& mine, const std::string& theirs, std::string* merged);

// Fills entries[0 ... lastIndex] (cleared first) from the bytes of a list file. The tag is not
// checked. Reading stops with -1 at a record whose index exceeds lastIndex or whose header or text
// runs past the end of the data; the records before it stay loaded. Returns 0 otherwise. Data of
// 0 ... 2 bytes is an empty list. A record of length 0 without an own colour is absent.
int DecodeNoteList(const char* data, size_t size, NoteEntry* entries, int lastIndex);

// The bytes of a list file for entries[0 ... lastIndex]; empty when no entry is present (a list
// with no present entry has no file).
std::vector<char> EncodeNoteList(const NoteEntry* entries, int lastIndex);
