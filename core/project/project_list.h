// The project list of the environment and the operations of the replace transaction. The
// current project is the list's last element. A command that replaces the project appends a
// fresh project (PushDefaultProject, or PushProjectOfSameType for the uploads), builds it while
// the old project stays untouched in front of it, and then commits with DropOldestProject or
// undoes with DropNewestProject, which leaves the list exactly as it was before the push.
//
// Every operation acts on the installed environment (project.h); without one they throw
// ExceptionLogicError.
#pragma once

namespace Brenno {

// Appends a default-constructed project; it becomes the current one.
void PushDefaultProject();
// Appends a default-constructed project and ties it to the current project's PLC type (by name,
// through SelectPlcType). ExceptionInitPlcTypeError when the catalog no longer has that type, or
// when the current project has none; the appended project then stays for the caller to drop.
void PushProjectOfSameType();
// Removes the last project; nothing on an empty list.
void DropNewestProject();
// Removes the first project; nothing on an empty list. The project is freed on a worker thread
// (DroppedProjects), so that the command that replaced it does not wait for that.
void DropOldestProject();
// Returns once every project dropped so far is freed.
void WaitForDroppedProjects();

}  // namespace Brenno
