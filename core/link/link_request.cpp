#include "core/link/link_request.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "core/link/link_frame.h"
#include "core/link/link_ui.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

// Frame indexes count in 15 bits; bit 15 marks the last frame.
constexpr int kMaxFrames = 0x8000;

// The frame loop shared by both request kinds. `frameData(i)` gives the data of frame i.
template <class FrameData>
std::vector<uint8_t> ExchangeFrames(AppEnvironment& env, LinkTask& task, LinkSettings& settings, uint16_t code,
                                    uint16_t parameter, int frameCount, FrameData frameData) {
  if (frameCount > kMaxFrames) throw ExceptionLogicError();
  std::vector<uint8_t> result;
  for (int i = 0; i < frameCount; ++i) {
    task.SetFrame(frameCount, i);
    const uint16_t index = static_cast<uint16_t>(i | (i == frameCount - 1 ? kLastFrameFlag : 0));
    int failed = 0;
    for (;;) {
      if (settings.CancelRequest != 0) {
        settings.CancelRequest = 0;
        throw ExceptionExchUserCancelError();
      }
      std::vector<uint8_t> data = frameData(i);
      try {
        ExchangePacket(env, settings, code, parameter, index, data);
        result.insert(result.end(), data.begin(), data.end());
        break;
      } catch (ExceptionExchPackReceiveCodeError& refusal) {
        task.ReportRetry(frameCount, i, refusal);
        refusal.AppendDetail(task.Describe());
        throw;
      } catch (const ExceptionExchError& error) {
        task.ReportRetry(frameCount, i, error);
        ++failed;
        if (failed >= settings.AttemptsPerFrame) {
          ExceptionExchError last = PlainExchError(error);
          last.AppendDetail(task.Describe());
          throw last;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(std::max(settings.RetryPauseMs, 0)));
    }
  }
  return result;
}

void CheckSupported(const AppEnvironment& env, const LinkTask& task, uint16_t code) {
  if (!IsPackCodeSupported(env, code)) throw ExceptionExchUnsupportedPackCodeError(task.Describe());
}

}  // namespace

LinkTask::LinkTask(bool show, std::wstring title) : Show(show), Title(std::move(title)) {}

LinkTask::~LinkTask() {
  if (!Show) return;
  if (LinkUiServices* ui = InstalledLinkUiServices()) ui->UpdProgress(ProgressInfo{std::wstring(), 100, 100});
}

std::wstring LinkTask::PositionText() const {
  return Title + L" (" + std::to_wstring(FrameIndex + 1) + L"/" + std::to_wstring(FrameCount) + L")";
}

void LinkTask::SetFrame(int frameCount, int frameIndex) {
  FrameCount = frameCount;
  FrameIndex = frameIndex;
  if (!Show) return;
  LinkUiServices* ui = InstalledLinkUiServices();
  if (ui == nullptr) return;
  int percent = StartPercent;
  if (frameCount > 0) {
    percent = static_cast<int>(StartPercent +
                               static_cast<int64_t>(EndPercent - StartPercent) * frameIndex / frameCount);
  }
  ui->UpdProgress(ProgressInfo{PositionText(), percent, 100});
}

std::wstring LinkTask::Describe() const {
  std::wstring text = L"\r\n    " + Title;
  if (FrameIndex != -1 && FrameCount != -1) {
    text += L" (" + std::to_wstring(FrameIndex + 1) + L"/" + std::to_wstring(FrameCount) + L")";
  }
  return text;
}

void LinkTask::ReportRetry(int frameCount, int frameIndex, const ExceptionError& error) {
  FrameCount = frameCount;
  FrameIndex = frameIndex;
  if (!Show) return;
  LinkUiServices* ui = InstalledLinkUiServices();
  if (ui == nullptr) return;
  ui->AppendOutputLine(PositionText() + L" : " + PickText(L"Communication Retry", L"通讯重试") + L" (" +
                       error.Message() + L")");
}

const PlcType& CurrentLinkPlcType(const AppEnvironment& env) {
  if (env.ProjectList.empty() || env.ProjectList.back().Type == nullptr) throw ExceptionLogicError();
  return *env.ProjectList.back().Type;
}

bool IsPackCodeSupported(const AppEnvironment& env, uint16_t code) {
  return CurrentLinkPlcType(env).IsPackCodeSupported(code);
}

int CurrentFrameSize(const AppEnvironment& env) {
  const int size = CurrentLinkPlcType(env).Description.ExchPackSize;
  if (size < 1) throw ExceptionLogicError();
  return size;
}

void RunLinkRequest(AppEnvironment& env, LinkTask& task, std::vector<uint8_t>& data, LinkSettings& settings,
                    uint16_t code, uint16_t parameter) {
  CheckSupported(env, task, code);
  const size_t frameSize = static_cast<size_t>(CurrentFrameSize(env));
  const size_t count = data.empty() ? 1 : (data.size() + frameSize - 1) / frameSize;
  if (count > static_cast<size_t>(kMaxFrames)) throw ExceptionLogicError();
  std::vector<uint8_t> reply =
      ExchangeFrames(env, task, settings, code, parameter, static_cast<int>(count), [&](int i) {
        const size_t begin = std::min(data.size(), static_cast<size_t>(i) * frameSize);
        const size_t end = std::min(data.size(), begin + frameSize);
        return std::vector<uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(begin),
                                    data.begin() + static_cast<std::ptrdiff_t>(end));
      });
  data = std::move(reply);
}

void RunLinkReadFrames(AppEnvironment& env, LinkSettings& settings, std::vector<uint8_t>& reply, LinkTask& task,
                       uint16_t code, int frameCount, uint16_t parameter) {
  CheckSupported(env, task, code);
  if (!reply.empty()) throw ExceptionLogicError();
  if (frameCount <= 0) return;
  reply = ExchangeFrames(env, task, settings, code, parameter, frameCount, [](int) { return std::vector<uint8_t>(); });
}

}  // namespace Brenno
