// The folder the activity logs live in: how a log file is named, how a record is laid out, and which old
// logs go when a run starts a new one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace brisko::scan {

// "BRK_LOGS_" + the time as "%m_%d_%Y_%H_%M_%S_%p" + ".log": the 24-hour hour followed by AM or PM.
std::string LogFileName(const platform::SystemTime& time);
// The time a log's name was made from; none when the name is not of that form.
std::optional<platform::SystemTime> LogFileTime(std::string_view fileName);

// One record as it goes into the file: the time as "%m-%d-%Y %H:%M:%S" directly followed by the message
// without its leading and trailing white space, then CR LF. An empty message gives only CR LF. Every line
// end inside the message becomes CR LF as well, and one that already is stays as it is.
std::string LogRecord(const platform::SystemTime& time, std::string_view message);

// Deletes old logs in `folder` before a run adds its own: of the files named "BRK_..." the oldest by the
// time in their names, so that nine remain; of any other "*.log" files all but the last ten in listing
// order. Empty files and folders are left alone; a file that cannot be deleted stays.
void PruneLogFolder(platform::FileSystem& files, const std::string& folder);

}  // namespace brisko::scan
