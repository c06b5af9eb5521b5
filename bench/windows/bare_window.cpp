// The baseline of the idle benchmark: a bare Win32 window with one label
// whose text is set anew ten times a second (a figure in MB, as the
// program's readout shows), so the label redraws at the program's rhythm.
#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT_PTR kTimer = 1;
HWND label = nullptr;
unsigned ticks = 0;

LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            label = CreateWindowExW(0, L"STATIC", L"0 MB", WS_CHILD | WS_VISIBLE | SS_RIGHT, 16, 16, 120, 20, window,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
            SetTimer(window, kTimer, 100, nullptr);
            return 0;
        case WM_TIMER: {
            wchar_t text[32];
            ++ticks;
            swprintf(text, 32, L"%u,%03u MB", 20 + ticks % 7, ticks % 1000);
            SetWindowTextW(label, text);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(window, kTimer);
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = L"QuendaxBenchBareWindow";
    if (!RegisterClassExW(&wc)) return 1;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 272, 290, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
