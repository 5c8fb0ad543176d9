// Fatal errors: reported in a message box, then the process ends with -1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Shows the error box and ends the process; never returns. From the moment
// it is called no event handler runs again.
[[noreturn]] void RaiseFatalError(std::string_view message);

// The box's text: 运行时出错!, CR LF CR LF, 错误信息：, the message, CR LF.
std::string FatalErrorText(std::string_view message);
// 分配 <bytes> 字节内存失败!
std::string AllocationFailedMessage(size_t bytes);
// 无法找到指定DLL库文件“<library>”中的输出命令“<function>”
std::string BindingFailedMessage(std::string_view library, std::string_view function);
