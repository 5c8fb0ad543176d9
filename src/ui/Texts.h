// The program's own texts, GBK bytes. Literals are split where a hex escape
// would otherwise swallow the next character.
#pragma once

namespace texts {
inline constexpr char kSystemTimePrefix[] = "\xB5\xB1\xC7\xB0\xCF\xB5\xCD\xB3\xCA\xB1\xBC\xE4\xA3\xBA";  // 当前系统时间：
inline constexpr char kNetworkTimePrefix[] = "\xCD\xF8\xC2\xE7\xCA\xB1\xBC\xE4\xA3\xBA";  // 网络时间：
inline constexpr char kSyncButton[] = "\xCD\xAC\xB2\xBD\xCA\xB1\xBC\xE4";                  // 同步时间
inline constexpr char kNetworkTimeButton[] = "\xCD\xF8\xC2\xE7\xCA\xB1\xBC\xE4";           // 网络时间
inline constexpr char kErrorTitle[] = "\xB4\xED\xCE\xF3";                                 // 错误
inline constexpr char kRuntimeError[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!";       // 运行时出错!
inline constexpr char kErrorInfo[] = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";           // 错误信息：
inline constexpr char kLoadWindowFailed[] = "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";  // 载入启动窗口失败

// 分配 <bytes> 字节内存失败!
inline constexpr char kAllocPrefix[] = "\xB7\xD6\xC5\xE4 ";
inline constexpr char kAllocSuffix[] = " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";

// 无法找到指定DLL库文件“<library>”中的输出命令“<function>”
inline constexpr char kBindPrefix[] = "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8" "DLL" "\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0";
inline constexpr char kBindMiddle[] = "\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0";
inline constexpr char kBindSuffix[] = "\xA1\xB1";
}  // namespace texts
