// vestrel-cal --find: the rows of the calendar's find window, tab-separated, for a terminal.
#include <string>
#include <vector>

#include "cli/modes.h"
#include "cli/terminal_text.h"
#include "notes/note_search.h"

namespace {

constexpr size_t kFindChunk = 64 * 1024;  // bytes of whole rows gathered before each write

const char kFindArguments[] = "--find takes a TEXT that is not empty, then --notes DIR (the notes folder)";

// UTF-8 of a note's line for one column of a line of output: each control character but tab (a
// lone CR, a NUL in the memo), which would break or garble the line, as U+FFFD. In GBK and in UTF-8
// such a byte is always a character of its own.
void AppendLine(const std::string& gbk, std::string* out) {
    const size_t start = out->size();
    AppendGbkAsUtf8(gbk.data(), gbk.size(), out);
    for (size_t i = start; i < out->size(); ++i) {
        const unsigned char c = static_cast<unsigned char>((*out)[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            out->replace(i, 1, "\xEF\xBF\xBD");
            i += 2;
        }
    }
}

}  // namespace

// --find TEXT --notes DIR. The whole folder is read before the first row goes out; a damaged list
// or memo is named on err, and the rows of everything else still come.
int RunFind(int argc, const char* const* argv, std::ostream& out, std::ostream& err, const CliEnv& env) {
    if (argc != 5 || argv[2][0] == '\0' || std::string(argv[3]) != "--notes" || !IsOptionValue(argv[4]))
        return Fail(err, kFindArguments);
    const std::string text = argv[2], dir = argv[4];
    if (const int status = CheckConverter(err)) return status;

    NoteIndex index;
    switch (LoadNoteIndex(std::filesystem::path(dir), &index)) {
        case FolderRead::Ok: break;
        case FolderRead::Missing: return Fail(err, "notes folder " + dir + ": no such folder");
        case FolderRead::NoListFolder:
            return Fail(err, "notes folder " + dir + ": no \xE6\x97\xA5\xE5\x8E\x86 folder in it or in its "
                             "\xE6\x88\x91\xE7\x9A\x84\xE8\xAE\xB0\xE4\xBA\x8B folder");  // 日历, 我的记事
        case FolderRead::Unreadable:
            return Fail(err, "notes folder " + dir + ": its \xE6\x97\xA5\xE5\x8E\x86 folder cannot be read");
    }
    for (const DamagedFile& file : index.Damaged())
        err << "vestrel-cal: damaged note file " << file.path.string() << "\n";

    std::string query;
    switch (Utf8ToGbk(text, &query)) {
        case GbkForm::Made: break;
        case GbkForm::None:
            // No note can hold it: the files are GBK.
            err << "vestrel-cal: --find: the text is not UTF-8 or has a character GBK lacks; no note holds it\n";
            return 0;
        case GbkForm::NoConverter:
            err << "vestrel-cal: no converter from UTF-8 to GBK (iconv_open); the C library's gconv modules are "
                   "missing\n";
            return kCliStopped;
    }

    // Any other date (none is upcoming then) as Search takes it.
    const SolarDate today = IsValidDate(env.todayYear, env.todayMonth, env.todayDay)
                                ? SolarDate{static_cast<uint16_t>(env.todayYear), static_cast<uint16_t>(env.todayMonth),
                                            static_cast<uint16_t>(env.todayDay)}
                                : SolarDate{0, 0, 0};
    std::string chunk;
    for (const FoundRow& row : index.Search(query, today)) {
        if (row.kind == FoundKind::Dated) chunk += row.isoDate;
        else AppendGbkAsUtf8(row.when.data(), row.when.size(), &chunk);
        chunk += '\t';
        chunk += FoundKindName(row.kind);
        chunk += '\t';
        AppendLine(row.line, &chunk);
        chunk += '\n';
        if (chunk.size() >= kFindChunk) {
            if (!out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) return 0;  // RunCli sees it
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    return 0;
}
