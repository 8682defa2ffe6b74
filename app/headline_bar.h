// HeadlineBar: the line under the grid. It starts and ends Windows Sockets, fetches the headline on
// a worker thread and shows it with "下一篇"; a click on the headline opens its page.
#pragma once

#include <memory>

#include "framework/afxwin.h"
#include "web/headline.h"
#include "web/headline_fetcher.h"
#include "widgets/click_label.h"

class HeadlineBar {
public:
    HeadlineBar();
    ~HeadlineBar();
    HeadlineBar(const HeadlineBar&) = delete;
    HeadlineBar& operator=(const HeadlineBar&) = delete;

    // Starts Windows Sockets; when they cannot start, the one warning box of the program says so
    // (owner is its owner) and every fetch fails quietly.
    void StartSockets(HWND owner);
    // Creates the two labels in parent at dpi (hidden until a headline comes).
    void Create(CWnd* parent, int dpi);
    // Places the labels again at dpi, with fonts made for it.
    void Relayout(int dpi);

    // Where the headline is fetched from (the build's host and port 80 unless changed here).
    void SetServer(const char* host, unsigned short port);
    // Starts a request whose result is posted to window as message (dropped while one runs).
    void Fetch(HWND window, UINT message);
    // Takes a posted result: shows the headline it carries, and "下一篇".
    void OnFetched(WPARAM result, LPARAM lParam);
    // A click on one of the bar's labels: true when id was the headline's (its page opens) or
    // "下一篇"'s (fetched again, posting to window as message).
    bool OnClick(UINT id, HWND window, UINT message);

    const HeadlineState& State() const { return m_headline; }
    bool HaveHeadline() const { return !m_headline.text.empty(); }
    int ResultsTaken() const { return m_results; }

private:
    // A long headline is cut short of "下一篇", which stays whole and clickable.
    void LimitHeadline(int dpi);

    CClickLabel m_headlineLabel, m_nextLabel;
    HeadlineState m_headline;  // text and link
    std::unique_ptr<HeadlineFetcher> m_fetcher;
    int m_results = 0;  // fetch results received
    int m_dpi = 96;
    bool m_socketsStarted = false;
};
