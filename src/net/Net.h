#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"
#include "ui/Dialogs.h"

// The network unit: connects a drive letter to a shared directory, cancels such a connection
// and names the network result codes in Russian for the user.
namespace tarvik {

// The longest texts a connection takes, in characters. Longer ones are refused before anything
// reaches the platform, with the code that names the field, rather than cut short.
inline constexpr std::size_t kMaxLocalName = 32;
inline constexpr std::size_t kMaxPassword = 64;
inline constexpr std::size_t kMaxRemoteName = 255;

// Connects `local` ("Z" or "Z:") to `remote` ("\\SRV\DOCS", a trailing "\" and then ":" are
// dropped). Any connection of the letter is cancelled with force first, whatever comes of the
// new one. Returns the platform's result code, 0 on success.
int NetConnect(Platform& platform, const std::string& remote, const std::string& password,
               const std::string& local);
// NetConnect; on failure, with `report`, the error is shown. True on success.
bool NetConnectReport(Platform& platform, Dialogs& dialogs, bool report, const std::string& remote,
                      const std::string& password, const std::string& local);
// Cancels with force the connection of a letter ("Z" or "Z:"); the platform's result code.
int NetDisconnect(Platform& platform, const std::string& letter);
// Beeps and shows NetErrorBoxText; nothing for 0. Always true.
bool NetErrorMessage(Dialogs& dialogs, int code);
// Why the latest connection of `platform` failed, for the window's status line; empty when the
// platform cannot tell.
std::string ConnectFailureText(Platform& platform);
// The same in plain English words for the command line: "the computer refused the connection".
std::string ConnectFailureWords(Platform& platform, const std::string& local);
// "СЕТЕВАЯ ОШИБКА : " with the text of a non-zero network result code.
std::string NetErrorBoxText(int code);
// The text of a non-zero network result code, "???" for a code the unit does not know.
const char* NetErrorText(int code);

}  // namespace tarvik
