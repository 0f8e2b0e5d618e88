#pragma once

#include <QDBusConnection>
#include <cstdio>

#include "remote/RemoteCommand.h"

namespace ondivo {

// `ondivo --send`: makes the request of the copy running on bus and prints the radio's status
// after it to out, or why it could not to err. The exit code: 0 done, 1 refused or no copy.
// Needs a QCoreApplication.
int SendToRunningCopy(const tSendRequest& request, const QDBusConnection& bus, std::FILE* out,
                      std::FILE* err);

}  // namespace ondivo
