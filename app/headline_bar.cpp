// HeadlineBar.
#include "app/headline_bar.h"

#include <winsock2.h>

#include "app/main_layout.h"
#include "platform/dpi.h"
#include "platform/log.h"
#include "res/resource.h"
#include "web/page_open.h"

namespace {

CRect Scaled(const LayoutRect& r, int dpi) {
    return CRect(Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right, dpi), Scale(r.bottom, dpi));
}

}  // namespace

HeadlineBar::HeadlineBar() : m_fetcher(std::make_unique<HeadlineFetcher>(kHeadlineHost, kHeadlinePort)) {}

HeadlineBar::~HeadlineBar() {
    m_fetcher.reset();
    if (m_socketsStarted) ::WSACleanup();
}

void HeadlineBar::StartSockets(HWND owner) {
    WSADATA wsa;
    const int rc = ::WSAStartup(0x0202, &wsa);
    if (rc != 0) {
        LogFailure("Windows Sockets did not start", "WSAStartup", static_cast<unsigned long>(rc));
        ::WSACleanup();
        AfxMessageBox(owner, "网络初始化失败，请报告管理员", "警告", MB_OK);
        return;
    }
    m_socketsStarted = true;
}

void HeadlineBar::Create(CWnd* parent, int dpi) {
    m_dpi = dpi;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    m_headlineLabel.Create(Scaled(kHeadlineRect, dpi), parent, IDC_HEADLINE, face, RGB(0, 0, 208), 110, "宋体");
    m_nextLabel.Create(Scaled(kNextHeadlineRect, dpi), parent, IDC_NEXT_HEADLINE, face, RGB(0, 0, 208), 100,
                       "楷体_gb2312");
}

void HeadlineBar::Relayout(int dpi) {
    m_dpi = dpi;
    const struct {
        CColorLabel* label;
        const LayoutRect& rect;
    } labels[] = {{&m_headlineLabel, kHeadlineRect}, {&m_nextLabel, kNextHeadlineRect}};
    for (const auto& l : labels) {
        l.label->MoveTo(Scale(l.rect.left, dpi), Scale(l.rect.top, dpi));
        l.label->SetDpi(dpi);
    }
    LimitHeadline(dpi);
}

void HeadlineBar::LimitHeadline(int dpi) {
    m_headlineLabel.LimitWidth(m_nextLabel.Rect().left - m_headlineLabel.Rect().left - Scale(6, dpi));
}

void HeadlineBar::SetServer(const char* host, unsigned short port) {
    m_fetcher = std::make_unique<HeadlineFetcher>(host, port);
}

void HeadlineBar::Fetch(HWND window, UINT message) {
    if (m_fetcher) m_fetcher->Start(window, message);
}

void HeadlineBar::OnFetched(WPARAM result, LPARAM lParam) {
    const std::unique_ptr<HeadlineResult> fetched = m_fetcher ? m_fetcher->Take(lParam) : nullptr;
    if (!fetched) return;  // not a result of this bar's fetcher
    ++m_results;
    LimitHeadline(m_dpi);
    if (ApplyHeadlineBody(&m_headline, static_cast<int>(result), fetched->body.c_str()))
        m_headlineLabel.SetText(m_headline.text.c_str(), 1);
    if (m_headline.showNext) m_nextLabel.SetText("下一篇", 1);
}

bool HeadlineBar::OnClick(UINT id, HWND window, UINT message) {
    if (id == IDC_HEADLINE) {
        OpenHeadlineLink(window, m_headline.link);
        return true;
    }
    if (id == IDC_NEXT_HEADLINE) {
        Fetch(window, message);
        return true;
    }
    return false;
}
