// Reads the controls of the running program's main window through the
// Windows API, as another program sees them: every child window with its
// class, text, place in the main window's client area and visibility, one
// line each, then the figures in megabytes ("1,234 MB") that are visible.
// Exit status 0 when there are exactly six of them, 1 otherwise, 2 when the
// window isn't found within ten seconds. With a TITLE, another window of the
// program is read (the About box, say) and its figures aren't counted; with
// a CLASS too, a window of that class (a message box is "#32770").
//
//   window_probe.exe [TITLE [CLASS]]
//   window_probe.exe --markers   the pixels of the marker colour (0x00C000)
//                                each bar of the memory frame shows on
//                                screen: "markers: N N", status 0
//   window_probe.exe --minimize  minimizes the main window as its button does
//   window_probe.exe --state     "visible normal", "hidden iconic", ...
//   window_probe.exe --resize W H  gives the main window an outer size of W x H
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

namespace {

struct Child {
    std::wstring className;
    std::wstring text;
    RECT place{};
    bool visible = false;
    bool topLevel = false;  // a child of the main window itself
};

struct Search {
    HWND main = nullptr;
    std::vector<Child> children;
};

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    Child child;
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    child.className = name;
    child.text = windowText(window);
    GetWindowRect(window, &child.place);
    MapWindowPoints(nullptr, search.main, reinterpret_cast<POINT*>(&child.place), 2);
    child.visible = IsWindowVisible(window) != FALSE;
    child.topLevel = GetParent(window) == search.main;
    search.children.push_back(child);
    return TRUE;
}

// "24,105 MB": digits and group separators, a blank, "MB".
bool isMegabyteFigure(const std::wstring& text) {
    const std::size_t blank = text.rfind(L" MB");
    if (blank == std::wstring::npos || blank == 0 || blank + 3 != text.size()) return false;
    bool digit = false;
    for (std::size_t i = 0; i < blank; ++i) {
        const wchar_t c = text[i];
        if (std::iswdigit(c)) {
            digit = true;
        } else if (!std::iswpunct(c) && c != L' ' && c != 0xA0 && c != 0x202F) {
            return false;
        }
    }
    return digit;
}

std::string utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
    return out;
}

// The pixels of colour 0x00C000 on screen in `place` (client pixels of `window`).
int markerPixels(HWND window, const RECT& place) {
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = place.top; y < place.bottom; ++y) {
        for (int x = place.left; x < place.right; ++x) count += GetPixel(dc, x, y) == RGB(0, 0xC0, 0) ? 1 : 0;
    }
    ReleaseDC(window, dc);
    return count;
}

// "markers: N N": the marker pixels of each bar (a picture box in the memory frame).
int printMarkers(const Search& search) {
    const Child* frame = nullptr;
    for (const Child& c : search.children) {
        if (c.className == L"Button" && c.text == L"Physical memory / Pagefile") frame = &c;
    }
    if (!frame) return 1;
    std::printf("markers:");
    for (const Child& c : search.children) {
        const bool inFrame = c.place.left >= frame->place.left && c.place.right <= frame->place.right &&
                             c.place.top >= frame->place.top && c.place.bottom <= frame->place.bottom;
        if (c.className == L"QuendaxPictureBox" && c.topLevel && c.visible && inFrame) {
            std::printf(" %d", markerPixels(search.main, c.place));
        }
    }
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool markers = argc == 2 && std::string(argv[1]) == "--markers";
    const bool minimize = argc == 2 && std::string(argv[1]) == "--minimize";
    const bool state = argc == 2 && std::string(argv[1]) == "--state";
    const bool resize = argc == 4 && std::string(argv[1]) == "--resize";
    if (resize) SetProcessDPIAware();  // the size in the screen's own pixels
    const int resizeTo[2] = {resize ? std::atoi(argv[2]) : 0, resize ? std::atoi(argv[3]) : 0};
    if (markers || minimize || state || resize) argc = 1;
    const bool mainWindow = argc < 2;
    std::wstring title = L"Quendax";
    if (!mainWindow) {
        title.clear();
        for (const char* c = argv[1]; *c; ++c) title.push_back(static_cast<unsigned char>(*c));
    }
    std::wstring windowClass = L"QuendaxForm";
    if (argc > 2) {
        windowClass.clear();
        for (const char* c = argv[2]; *c; ++c) windowClass.push_back(static_cast<unsigned char>(*c));
    }
    Search search;
    for (int i = 0; i < 100 && !search.main; ++i) {
        search.main = FindWindowW(windowClass.c_str(), title.c_str());
        if (!search.main) Sleep(100);
    }
    if (!search.main) {
        std::printf("no window \"%s\"\n", utf8(title).c_str());
        return 2;
    }
    EnumChildWindows(search.main, collect, reinterpret_cast<LPARAM>(&search));
    if (markers) return printMarkers(search);
    if (minimize) return PostMessageW(search.main, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
    if (resize) {
        if (SetWindowPos(search.main, nullptr, 0, 0, resizeTo[0], resizeTo[1],
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) return 0;
        std::printf("SetWindowPos failed, error %lu\n", GetLastError());
        return 1;
    }
    if (state) {
        std::printf("%s %s\n", IsWindowVisible(search.main) ? "visible" : "hidden",
                    IsIconic(search.main) ? "iconic" : IsZoomed(search.main) ? "maximized" : "normal");
        return 0;
    }
    int figures = 0;
    for (const Child& c : search.children) {
        std::printf("%s|%s|%ld,%ld,%ld,%ld|%s\n", utf8(c.className).c_str(), utf8(c.text).c_str(), c.place.left,
                    c.place.top, c.place.right - c.place.left, c.place.bottom - c.place.top,
                    c.visible ? "visible" : "hidden");
        if (c.visible && isMegabyteFigure(c.text)) ++figures;
    }
    std::fflush(stdout);
    if (!mainWindow) return 0;
    std::printf("figures in MB: %d\n", figures);
    std::fflush(stdout);
    return figures == 6 ? 0 : 1;
}
