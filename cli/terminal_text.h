// Text for the terminal: the GBK of the calendar tables and note files as UTF-8, a UTF-8 argument
// as GBK, and the columns UTF-8 text takes. The rest of vestrel-cal converts through here only.
#pragma once

#include <cstddef>
#include <string>

// Whether the thread's converter from GBK to UTF-8 opened; when not (a C library without its
// gconv modules), *reason is iconv_open's errno. Output with GBK in it must then not go out: the
// functions below would give U+FFFD for every byte that is not ASCII.
bool GbkConverterReady(int* reason);

// GBK text as UTF-8 (invalid bytes become U+FFFD). One converter serves each thread for its life.
std::string GbkToUtf8(const std::string& gbk);
// The same for n bytes at gbk, appended to out.
void AppendGbkAsUtf8(const char* gbk, size_t n, std::string* out);

// What Utf8ToGbk made of its text.
enum class GbkForm {
    Made,         // *gbk holds the text
    None,         // the text is not UTF-8, or holds a character GBK lacks
    NoConverter,  // iconv has no UTF-8 to GBK converter (*gbk empty)
};
// UTF-8 text (as a terminal gives an argument) as GBK, the note files' encoding, into *gbk.
GbkForm Utf8ToGbk(const std::string& utf8, std::string* gbk);

// Terminal columns of UTF-8 text: East Asian wide and fullwidth characters take two.
int DisplayWidth(const std::string& utf8);
