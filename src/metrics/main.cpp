// SPDX-License-Identifier: GPL-2.0-or-later
// norva-snapshots-metrics [DIRECTORY]: writes norva_snapshots.prom for node_exporter's textfile
// collector (default directory /var/lib/prometheus/node-exporter; nothing is done when it does
// not exist). norva-snapshots.service runs it after every check, failed ones too.
#include "config/AtomicFile.h"
#include "metrics/Metrics.h"
#include "text/SystemLog.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/stat.h>

int main(int argc, char* argv[])
{
    const char* result = std::getenv("SERVICE_RESULT");
    if (result != nullptr && std::string(result) != "success") {
        const char* code = std::getenv("EXIT_CODE");
        const char* status = std::getenv("EXIT_STATUS");
        logLine(LogLevel::Error,
                formatMessage(trNoop("The check ended with the result \"%s\" (%s %s)."), result,
                              code == nullptr ? "" : code, status == nullptr ? "" : status));
    }
    const std::string directory = argc > 1 ? argv[1] : "/var/lib/prometheus/node-exporter";
    if (!std::filesystem::is_directory(directory)) {
        return 0;
    }
    const Metrics metrics =
        gatherMetrics(result == nullptr ? "" : result, static_cast<uint64_t>(std::time(nullptr)));
    // node_exporter reads the file as a user of its own.
    ::umask(022);
    return replaceFileAtomically(directory + "/norva_snapshots.prom", metricsText(metrics)) ? 0 : 1;
}
