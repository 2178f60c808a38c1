// The five ratings the home, statistics and summary pages show, computed on demand from the scan item
// table: how much of what the last scan found is still waiting for a repair.
#pragma once

#include <string>

#include "scan/ScanItems.h"

namespace brisko::app {

// 0 to 5 by the registry problems still to repair.
int RegistryRating(const scan::ScanItemTable& items);
// 0 to 5 by the megabytes of junk files still to remove.
int DiskRating(const scan::ScanItemTable& items);
// 0 to 5 by the megabytes of privacy traces still to remove.
int PrivacyRating(const scan::ScanItemTable& items);
// 0 to 4 by the settings still to tune.
int TuneupRating(const scan::ScanItemTable& items);
// The mean of the four, rounded up: 0 to 5.
int OverallRating(const scan::ScanItemTable& items);

// The rules themselves, on the figures they are made from.
int RegistryRatingFor(long long remainingProblems);
int DiskRatingFor(double remainingMegabytes);
int PrivacyRatingFor(double remainingMegabytes);
int TuneupRatingFor(long long remainingItems);
int OverallRatingOf(int registry, int disk, int privacy, int tuneup);

// Found minus fixed size of the junk-file or privacy rows, in megabytes, each side scaled for display
// first and converted back by its unit, as the ratings read them.
double RemainingMegabytes(const scan::ScanItemTable& items, int engine);

// The speed-loss label of a rating: "UNKNOWN", "POOR", "LOW", "MEDIUM", "GOOD", "HIGH" for 0 to 5.
std::string RatingLabel(int rating);

}  // namespace brisko::app
