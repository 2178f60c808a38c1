#include "app/Ratings.h"

#include <cmath>

#include "strings/StringTable.h"

namespace brisko::app {

using namespace scan;

namespace {

double Megabytes(double value, const std::string& unit) {
    if (unit == "KB") return value / 1024;
    if (unit == "GB") return value * 1024;
    if (unit == "TB") return value * 1048576;
    return value;
}

long long Remaining(const ScanItemTable& items, int engine) {
    return static_cast<long long>(items.FoundCount(engine)) - items.FixedCount(engine);
}

}  // namespace

double RemainingMegabytes(const ScanItemTable& items, int engine) {
    std::string foundUnit;
    std::string fixedUnit;
    double found = items.FoundSize(engine, foundUnit);
    double fixed = items.FixedSize(engine, fixedUnit);
    return Megabytes(found, foundUnit) - Megabytes(fixed, fixedUnit);
}

int RegistryRatingFor(long long r) {
    if (r <= 0) return 0;
    if (r <= 24) return 1;
    if (r <= 49) return 2;
    if (r <= 124) return 3;
    if (r <= 150) return 4;
    return 5;
}

int DiskRatingFor(double d) {
    if (!(d > 0)) return 0;  // also a size that is not a number
    if (d <= 24) return 1;
    if (d <= 49) return 2;
    if (d <= 99) return 3;
    if (d <= 199) return 4;
    return 5;
}

int PrivacyRatingFor(double d) {
    if (!(d > 0)) return 0;
    if (d <= 10) return 1;
    if (d <= 24) return 2;
    if (d <= 39) return 3;
    if (d <= 59) return 4;
    return 5;
}

int TuneupRatingFor(long long r) {
    if (r <= 0) return 0;
    return r >= 4 ? 4 : static_cast<int>(r);
}

int OverallRatingOf(int registry, int disk, int privacy, int tuneup) {
    return static_cast<int>(std::ceil((registry + disk + privacy + tuneup) / 4.0));
}

int RegistryRating(const ScanItemTable& items) {
    return RegistryRatingFor(Remaining(items, kRegistryEngine));
}

int DiskRating(const ScanItemTable& items) {
    return DiskRatingFor(RemainingMegabytes(items, kJunkFileEngine));
}

int PrivacyRating(const ScanItemTable& items) {
    return PrivacyRatingFor(RemainingMegabytes(items, kPrivacyEngine));
}

int TuneupRating(const ScanItemTable& items) {
    return TuneupRatingFor(Remaining(items, kTuneupEngine));
}

int OverallRating(const ScanItemTable& items) {
    return OverallRatingOf(RegistryRating(items), DiskRating(items), PrivacyRating(items),
                           TuneupRating(items));
}

std::string RatingLabel(int rating) {
    static constexpr int kLabels[] = {strings::kIdRatingUnknown, strings::kIdRatingPoor,
                                      strings::kIdRatingLow,     strings::kIdRatingMedium,
                                      strings::kIdRatingGood,    strings::kIdRatingHigh};
    if (rating < 0 || rating > 5) rating = 0;
    return strings::LoadStringOrMarks(kLabels[rating]);
}

}  // namespace brisko::app
