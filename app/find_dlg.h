// CFindDlg: the modeless "查找" window. One edit; as the user types, every note whose text holds
// the typed text is listed (an owner-drawn list without data of its own, so that thousands of rows
// list at once), one row per matching line: when, then the line, upcoming notes first
// (notes/note_search.h). The search runs on a worker thread over the notes folder read from disk
// (notes/note_finder.h), read again when "日历" or "备忘" changes, so the calendar never waits for it;
// a file that could not be read or is damaged is named in the line under the rows. Enter or a
// double-click hands the row to the opener the window was given; Escape hides the window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/afxwin.h"
#include "notes/folder_watch.h"
#include "notes/note_finder.h"
#include "widgets/dialog_scale.h"

class CFindDlg : public CDialog {
public:
    // What Enter or a double-click on a row asks for (the main window shows its month and opens
    // its note).
    using Opener = std::function<void(const FoundRow& row)>;
    explicit CFindDlg(Opener open);
    ~CFindDlg() override;

    // Makes the window from template 259, owned by owner, on the first call (beside the owner,
    // whole on a monitor: platform/placement.h OnAnySide); then shows it in front with the typed text selected in
    // the edit and searches that text again (today may have changed).
    void Open(CWnd* owner);

    // The rows listed (at most kShownRows): for tests.
    const std::vector<FoundRow>& Rows() const { return m_rows; }
    // Searches shown since the window was made, and the text of the last.
    int ResultsShown() const { return m_resultsShown; }
    const std::string& ShownQuery() const { return m_shownQuery; }

    // More rows than this are not listed; the line under them says how many there are.
    static constexpr size_t kShownRows = 10000;

protected:
    BOOL OnInitDialog() override;
    // Enter: hands the selected row (the first when none is) to the opener.
    void OnOK() override;
    // Escape and the close box: hide the window; its text and rows stay for the next Open.
    void OnCancel() override;
    void OnTextChanged();
    void OnListDoubleClick();
    LRESULT OnNotesFound(WPARAM, LPARAM);
    // Timer 1, while the window shows: a change of "日历" or "备忘" reads the folder again.
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    // The list holds no text: each row is drawn from Rows(), "when" then the line in a column
    // after the widest "when" there can be.
    LRESULT OnDrawItem(WPARAM, LPARAM item);
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size) { return TellScaledSize(m_scale, dpi, size); }

private:
    class Keys;
    // Asks the finder for the edit's text, with today's date for the order.
    void Search();
    // Lists the rows of a search and sets the line under them.
    void Show(NoteFinder::Result* result);
    // The rows' height and where their line starts, for the list's font.
    void MeasureRows();

    Opener m_open;
    std::unique_ptr<NoteFinder> m_finder;
    std::unique_ptr<FolderWatch> m_listWatch, m_memoWatch;
    std::unique_ptr<Keys> m_editKeys, m_listKeys;
    std::vector<FoundRow> m_rows;
    DialogScale m_scale;
    int m_lineColumn = 0;  // pixels from a row's left edge to its line
    int m_resultsShown = 0;
    std::string m_shownQuery;

    DECLARE_MESSAGE_MAP()
};
