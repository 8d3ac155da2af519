#include "SimView.h"

#include <sstream>

SimView parseSimView(const std::string& rawState)
{
    SimView view;
    std::istringstream lines(rawState);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "root_size") {
            words >> view.rootSize;
        } else if (key == "vg_free") {
            words >> view.vgFree;
        } else if (key == "snapshot") {
            SimSnapshotRow row;
            words >> row.id >> row.creationTime >> row.size >> row.fillingPercent;
            view.snapshots.push_back(row);
        }
    }
    return view;
}
