// The download: the current project compiled and written into the PLC over the link, on a
// worker thread of its own. The thread enters the command state (opening the port), compiles,
// and runs the link commands in a fixed order (attach, run state and the stop question, clear,
// data blocks, system pages with the image stamps in page 1, constants, arguments,
// instructions, password table, detach, force reset) under one shown LinkTask. Any error ends
// the transfer where it stands and is shown; the command state is always left again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Brenno {

class AppEnvironment;
class LinkTask;

// Status bar texts of a transfer (the same in both languages).
inline constexpr wchar_t kStatusTextDownloading[] = L"下载";
inline constexpr wchar_t kStatusTextDisconnected[] = L"脱机";
// Shown when the PLC does not take the password table; the download goes on.
inline constexpr wchar_t kPasswordNotSavedText[] = L"密码未能保存";

// Sets the task's title (English or Chinese by the current language) and percent range.
void SetTaskStep(LinkTask& task, const wchar_t* englishTitle, const wchar_t* chineseTitle, int startPercent,
                 int endPercent);
// The range of page i of n inside a band starting at `base` with `width` percent: start
// base + (width * i) / n, end start + width / n (each quotient rounded toward zero).
std::array<int, 2> PageStepPercents(int base, int width, int i, int n);

// The worker-thread body of the download. Always returns 0.
int DownloadThreadProc(AppEnvironment& env);

}  // namespace Brenno
