#include "ui/shell/fixed_texts.h"

#include "core/env/language.h"

namespace Brenno {

const wchar_t* TextReadDataPage() { return PickText(L"Read Data Page", L"读数据页"); }
const wchar_t* TextWriteDataPage() { return PickText(L"Write Data Page", L"写数据页"); }
const wchar_t* TextReadSystemPage() { return PickText(L"Read System Page", L"读系统页"); }
const wchar_t* TextWriteSystemPage() { return PickText(L"Write System Page", L"写系统页"); }
const wchar_t* TextReadProgramArgument() { return PickText(L"Read Program Argument", L"读程序参数"); }
const wchar_t* TextWriteProgramArgument() { return PickText(L"Write Program Argument", L"写程序参数"); }
const wchar_t* TextReadProgramInstruction() { return PickText(L"Read Program Instruction", L"读程序指令"); }
const wchar_t* TextWriteProgramInstruction() { return PickText(L"Write Program Instruction", L"写程序指令"); }
const wchar_t* TextUnsupportedInstruction() { return PickText(L" [Unsupport Dictation]", L" [不支持的指令]"); }
const wchar_t* TextAskSymbol() { return PickText(L"Please input the symbol:", L"请输入新的符号:"); }
const wchar_t* TextAskAddress() { return PickText(L"Please input the address:", L"请输入新的地址:"); }
const wchar_t* TextAskComment() { return PickText(L"Please input the comment:", L"请输入新的注释:"); }
const wchar_t* TextReplaced() { return PickText(L"Replaced", L"替换"); }
const wchar_t* TextFailed() { return PickText(L"Failed", L"失败"); }

}  // namespace Brenno
