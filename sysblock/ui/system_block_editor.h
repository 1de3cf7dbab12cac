// The system-block editor behind the configuration entry point.
#pragma once

namespace corvell {

class CCorvellApp;

// Shows the property sheet modally over the current pages 0 to 3. On OK the edited pages are
// stored into the current pages and the result is true; otherwise they keep what they held
// (except a page 2 of the wrong length, which loading replaces by the sample) and the result
// is false. Creates an application object for the sheet's lifetime when the process has none.
bool RunSystemBlockEditor(CCorvellApp& app);

}  // namespace corvell
