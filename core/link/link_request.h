// Link requests: one command with its parameter and data, cut into frames of the current PLC
// type's frame size, each frame exchanged with retries after a pause, with the progress and
// retry lines of the job's LinkTask. Runs on a job's worker thread that holds the port lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/link/link_settings.h"

namespace Brenno {

class AppEnvironment;
class ExceptionError;
class PlcType;

// The progress record of one job: the title and percent range of its current step and the
// frame being exchanged. A job keeps one on its stack for all its steps.
class LinkTask {
 public:
  explicit LinkTask(bool show = false, std::wstring title = {});
  // When shown, closes the progress dialog (empty text, 100 for both bars).
  ~LinkTask();
  LinkTask(const LinkTask&) = delete;
  LinkTask& operator=(const LinkTask&) = delete;

  bool Show = false;
  int StartPercent = -1;
  int EndPercent = -1;
  int FrameIndex = -1;
  int FrameCount = -1;
  std::wstring Title;

  // Stores the position and, when shown, sends the progress: "title (i+1/n)" and the first bar
  // at start + (end - start) * i / n.
  void SetFrame(int frameCount, int frameIndex);
  // "\r\n    " and the title, then " (i+1/n)" when a position is set: appended to the message of
  // an error that ends a request.
  std::wstring Describe() const;
  // Stores the position and, when shown, appends "title (i+1/n) : Communication Retry (message)"
  // to the information output.
  void ReportRetry(int frameCount, int frameIndex, const ExceptionError& error);

 private:
  std::wstring PositionText() const;
};

// The PLC type of the current project (the last of the project list); ExceptionLogicError when
// there is no project or it has no type.
const PlcType& CurrentLinkPlcType(const AppEnvironment& env);
// Whether the current PLC type supports the command code.
bool IsPackCodeSupported(const AppEnvironment& env, uint16_t code);
// The most data bytes of one request frame of the current PLC type; ExceptionLogicError when
// the type's value is below 1.
int CurrentFrameSize(const AppEnvironment& env);

// Sends the request in frames and replaces `data` by the replies' data concatenated in frame
// order. On any error `data` keeps the request. Errors:
// - ExceptionExchUnsupportedPackCodeError ("Unsupported Pack Code" + Describe) for a code the
//   type does not support; nothing is sent;
// - ExceptionExchUserCancelError when the settings' cancel request is found set (it is reset);
// - ExceptionExchPackReceiveCodeError + Describe at once when the PLC answers with another code
//   (a refusal is not retried);
// - ExceptionExchError with the last failure's message + Describe when every try of a frame
//   failed;
// - ExceptionLogicError for a request that needs more than 32768 frames.
void RunLinkRequest(AppEnvironment& env, LinkTask& task, std::vector<uint8_t>& data, LinkSettings& settings,
                    uint16_t code, uint16_t parameter);

// Sends `frameCount` frames without data and appends their replies' data to `reply`, which must
// be empty (ExceptionLogicError otherwise). Same checks and errors as RunLinkRequest; a count
// of 0 sends nothing.
void RunLinkReadFrames(AppEnvironment& env, LinkSettings& settings, std::vector<uint8_t>& reply, LinkTask& task,
                       uint16_t code, int frameCount, uint16_t parameter);

}  // namespace Brenno
