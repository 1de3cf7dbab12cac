// Fixed texts that other parts of the workbench fetch in the running language.
#pragma once

namespace Brenno {

const wchar_t* TextReadDataPage();
const wchar_t* TextWriteDataPage();
const wchar_t* TextReadSystemPage();
const wchar_t* TextWriteSystemPage();
const wchar_t* TextReadProgramArgument();
const wchar_t* TextWriteProgramArgument();
const wchar_t* TextReadProgramInstruction();
const wchar_t* TextWriteProgramInstruction();
// Appended to an imported instruction that has no counterpart (with its leading blank).
const wchar_t* TextUnsupportedInstruction();
const wchar_t* TextAskSymbol();
const wchar_t* TextAskAddress();
const wchar_t* TextAskComment();
const wchar_t* TextReplaced();
const wchar_t* TextFailed();

}  // namespace Brenno
