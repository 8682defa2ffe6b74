// The note list byte format, entries and the colour rule (portable).
#include "notes/note_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Bytes(const std::vector<char>& v) { return std::string(v.begin(), v.end()); }

struct List {
    NoteEntry e[32];
    int Decode(const std::string& bytes) { return DecodeNoteList(bytes.data(), bytes.size(), e, 31); }
    std::string Encode() const { return Bytes(EncodeNoteList(e, 31)); }
};

TEST(NoteColor, DefaultsPerKindAndOwnColours) {
    struct { uint32_t word; NoteKind kind; uint32_t color; } rows[] = {
        {0, NoteKind::Day, 0x00FACE87},
        {0, NoteKind::SolarYearly, 0x000000FF},
        {0, NoteKind::LunarYearly, 0x00FF0080},
        {0, NoteKind::Weekly, 0x000000FF},
        {0x00123456, NoteKind::Day, 0x00FACE87},  // colour bits without the flag mean nothing
        {OwnColorFlag | 0x00123456, NoteKind::Day, 0x00123456},
        {OwnColorFlag | 0x00000000, NoteKind::Weekly, 0x00000000},  // own black
        {0xFF000000 | 0x00ABCDEF, NoteKind::LunarYearly, 0x00ABCDEF},
    };
    for (const auto& r : rows) EXPECT_EQ(NoteColor(r.word, r.kind), r.color) << std::hex << r.word;
}

TEST(NoteEntryAssign, PresenceRules) {
    NoteEntry e;
    EXPECT_EQ(e.Assign("abc", 3, 0), 0);
    ASSERT_TRUE(e.Present());
    EXPECT_STREQ(e.text.get(), "abc");
    EXPECT_EQ(e.length, 3);

    EXPECT_EQ(e.Assign("", 0, 0), 0);  // empty without own colour: absent
    EXPECT_FALSE(e.Present());
    EXPECT_EQ(e.colourWord, 0u);

    EXPECT_EQ(e.Assign(nullptr, 0, OwnColorFlag | 0xFF), 0);  // colour-only mark
    ASSERT_TRUE(e.Present());
    EXPECT_STREQ(e.text.get(), "");
    EXPECT_EQ(e.colourWord, OwnColorFlag | 0xFF);

    EXPECT_EQ(e.Assign("abcdef", 2, 0), 0);  // only length bytes are taken
    EXPECT_STREQ(e.text.get(), "ab");
}

// A null text is the empty text whatever length comes with it: a colour-only mark, or nothing.
TEST(NoteEntryAssign, NullTextWithALengthIsEmpty) {
    NoteEntry e;
    EXPECT_EQ(e.Assign(nullptr, 5, OwnColorFlag | 0x00ABCDEF), 0);
    ASSERT_TRUE(e.Present());
    EXPECT_EQ(e.length, 0);
    EXPECT_STREQ(e.text.get(), "");
    EXPECT_EQ(e.colourWord, OwnColorFlag | 0x00ABCDEF);
    EXPECT_EQ(e.Assign(nullptr, 5, 0), 0);
    EXPECT_FALSE(e.Present());
}

TEST(NoteEntryAssign, RefusesTextsBeyondSixteenBits) {
    NoteEntry e;
    e.Assign("keep", 4, 0);
    const std::string big(65536, 'x');
    EXPECT_EQ(e.Assign(big.c_str(), 65536, 0), -1);
    EXPECT_STREQ(e.text.get(), "keep");
    EXPECT_EQ(e.Assign("x", -1, 0), -1);
    EXPECT_STREQ(e.text.get(), "keep");
    const std::string max(65535, 'y');
    EXPECT_EQ(e.Assign(max.c_str(), 65535, 0), 0);
    EXPECT_EQ(e.length, 65535);
}

TEST(NoteListCodec, TheThirteenByteExample) {
    List l;
    l.e[5].Assign("abc", 3, 0);
    const std::string want("\x64\x00\x05\x00\x03\x00\x00\x00\x00\x00\x61\x62\x63", 13);
    EXPECT_EQ(l.Encode(), want);
    List back;
    EXPECT_EQ(back.Decode(want), 0);
    ASSERT_TRUE(back.e[5].Present());
    EXPECT_STREQ(back.e[5].text.get(), "abc");
    for (int i = 0; i < 32; ++i) EXPECT_EQ(back.e[i].Present(), i == 5) << i;
}

TEST(NoteListCodec, NoPresentEntryMeansNoBytes) {
    List l;
    EXPECT_EQ(l.Encode(), "");
    l.e[3].Assign("", 0, 0);
    EXPECT_EQ(l.Encode(), "");
}

TEST(NoteListCodec, ColourOnlyNotesRoundTrip) {
    List l;
    l.e[7].Assign("", 0, OwnColorFlag | 0x00FF00);
    const std::string bytes = l.Encode();
    EXPECT_EQ(bytes, std::string("\x64\x00\x07\x00\x00\x00\x00\xFF\x00\x01", 10));
    List back;
    EXPECT_EQ(back.Decode(bytes), 0);
    ASSERT_TRUE(back.e[7].Present());
    EXPECT_EQ(back.e[7].length, 0);
    EXPECT_EQ(back.e[7].colourWord, OwnColorFlag | 0x00FF00);
}

TEST(NoteListCodec, EmptyRecordWithoutOwnColourIsAbsentWhereverItStands) {
    // index 2, length 0, colour 0; then index 3 "x" -- the byte after the empty record is 03.
    const std::string bytes("\x64\x00\x02\x00\x00\x00\x00\x00\x00\x00\x03\x00\x01\x00\x00\x00\x00\x00x", 19);
    List l;
    EXPECT_EQ(l.Decode(bytes), 0);
    EXPECT_FALSE(l.e[2].Present());
    ASSERT_TRUE(l.e[3].Present());
    EXPECT_STREQ(l.e[3].text.get(), "x");
    List atEnd;
    EXPECT_EQ(atEnd.Decode(std::string("\x64\x00\x02\x00\x00\x00\x00\x00\x00\x00", 10)), 0);
    EXPECT_FALSE(atEnd.e[2].Present());
}

TEST(NoteListCodec, ShortFilesAndForeignTags) {
    for (const std::string& bytes : {std::string(), std::string("\x64", 1), std::string("\x64\x00", 2)}) {
        List l;
        l.e[1].Assign("stale", 5, 0);
        EXPECT_EQ(l.Decode(bytes), 0);
        EXPECT_FALSE(l.e[1].Present()) << bytes.size();  // decoding clears what was there
    }
    List l;
    EXPECT_EQ(l.Decode(std::string("\x99\x99\x01\x00\x01\x00\x00\x00\x00\x00z", 11)), 0);
    ASSERT_TRUE(l.e[1].Present());
    EXPECT_STREQ(l.e[1].text.get(), "z");
}

TEST(NoteListCodec, BadIndexStopsTheReadingAndKeepsWhatCameBefore) {
    const std::string bytes("\x64\x00"
                            "\x01\x00\x01\x00\x00\x00\x00\x00" "a"
                            "\x20\x00\x01\x00\x00\x00\x00\x00" "b"   // index 32
                            "\x03\x00\x01\x00\x00\x00\x00\x00" "c",
                            29);
    List l;
    EXPECT_EQ(l.Decode(bytes), -1);
    EXPECT_TRUE(l.e[1].Present());
    EXPECT_FALSE(l.e[3].Present());
    // The weekly list has slots 0 ... 7: index 8 is bad there.
    NoteEntry week[8];
    const std::string eight("\x64\x00\x08\x00\x01\x00\x00\x00\x00\x00q", 11);
    EXPECT_EQ(DecodeNoteList(eight.data(), eight.size(), week, 7), -1);
}

TEST(NoteListCodec, RecordsCutShortByTheEndOfTheFile) {
    const std::string good("\x64\x00\x01\x00\x01\x00\x00\x00\x00\x00" "a", 11);
    struct { std::string tail; const char* what; } rows[] = {
        {std::string("\x02", 1), "one byte of a header"},
        {std::string("\x02\x00\x05\x00\x00\x00\x00", 7), "seven bytes of a header"},
        {std::string("\x02\x00\x05\x00\x00\x00\x00\x00" "abc", 11), "text of 5 with 3 bytes present"},
        {std::string("\x02\x00\xFF\xFF\x00\x00\x00\x00", 8), "text of 65535 with none present"},
    };
    for (const auto& r : rows) {
        List l;
        EXPECT_EQ(l.Decode(good + r.tail), -1) << r.what;
        EXPECT_TRUE(l.e[1].Present()) << r.what;
        EXPECT_FALSE(l.e[2].Present()) << r.what;
    }
}

TEST(NoteListCodec, LaterRecordForTheSameIndexWins) {
    const std::string bytes("\x64\x00\x04\x00\x01\x00\x00\x00\x00\x00" "a"
                            "\x04\x00\x02\x00\x05\x00\x00\x01" "bc", 21);
    List l;
    EXPECT_EQ(l.Decode(bytes), 0);
    EXPECT_STREQ(l.e[4].text.get(), "bc");
    EXPECT_EQ(l.e[4].colourWord, OwnColorFlag | 5);
}

// Random lists encode and decode to the same entries, and the encoding is stable.
TEST(NoteListCodec, RandomListsRoundTrip) {
    std::mt19937 rng(20170128);
    for (int round = 0; round < 300; ++round) {
        List l;
        for (int i = 0; i < 32; ++i) {
            if (rng() % 3 != 0) continue;
            std::string text(rng() % 40, '\0');
            for (char& c : text) c = static_cast<char>(rng() % 255 + 1);  // GBK bytes, no NUL
            const uint32_t word = (rng() % 2 ? OwnColorFlag : 0) | (rng() & 0xFFFFFF);
            l.e[i].Assign(text.c_str(), static_cast<int>(text.size()), word);
        }
        const std::string bytes = l.Encode();
        List back;
        ASSERT_EQ(back.Decode(bytes), 0);
        for (int i = 0; i < 32; ++i) {
            ASSERT_EQ(back.e[i].Present(), l.e[i].Present()) << i;
            if (!l.e[i].Present()) continue;
            ASSERT_EQ(back.e[i].length, l.e[i].length);
            ASSERT_EQ(back.e[i].colourWord, l.e[i].colourWord);
            ASSERT_EQ(std::string(back.e[i].text.get(), back.e[i].length), std::string(l.e[i].text.get(), l.e[i].length));
        }
        ASSERT_EQ(back.Encode(), bytes);
    }
}

TEST(NoteConflict, BothVersionsInOneNoteWhenTheyFit) {
    std::string merged;
    EXPECT_TRUE(MergeConflictingNote("mine", "theirs", &merged));
    EXPECT_EQ(merged, "mine\r\n（另一处的修改）theirs");
    const std::string half(kMaxNoteLength / 2, 'x');
    EXPECT_FALSE(MergeConflictingNote(half, half, &merged));  // too long together: mine alone
    EXPECT_EQ(merged, half);
}

}  // namespace
