#include "cli/SettingsCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/SettingsCatalog.h"
#include "cli/ExitCodes.h"
#include "platform/Text.h"
#include "scan/SettingsStore.h"

namespace brisko::cli {

namespace {

using namespace app;
using scan::SettingsStore;

// The value as the program reads it: the default when nothing usable is stored.
std::string EffectiveValue(SettingsStore& store, const KnownSetting& setting) {
    switch (setting.kind) {
        case SettingKind::kText:
        case SettingKind::kTime:
            return store.ReadSettingString(setting.name, "");
        case SettingKind::kSize:
            return scan::FormatSize(store.ReadSettingSize(setting.name, setting.defaultValue));
        default:
            return std::to_string(store.ReadSettingInt(setting.name, setting.defaultValue));
    }
}

std::string StoredText(const platform::RegValue& value) {
    if (value.type != platform::kRegSz && value.type != platform::kRegExpandSz) {
        return "(type " + std::to_string(value.type) + ", " + std::to_string(value.data.size()) + " bytes)";
    }
    std::string text(value.data.begin(), value.data.end());
    if (std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
}

int List(SettingsStore& store) {
    std::vector<platform::RegValue> values;
    if (!store.ReadAllSettings(values)) {
        std::fprintf(stderr, "brisko: cannot read the settings key\n");
        return kExitFailed;
    }
    for (const platform::RegValue& value : values)
        std::printf("%s = %s\n", value.name.c_str(), StoredText(value).c_str());
    // The program's own settings that hold no value yet, with what the program reads for them.
    for (const KnownSetting& setting : KnownSettings()) {
        if (setting.scanItem) continue;
        bool stored = false;
        for (const platform::RegValue& value : values)
            stored = stored || platform::EqualsNoCase(value.name, setting.name);
        if (!stored)
            std::printf("%s = %s (default)\n", setting.name.c_str(), EffectiveValue(store, setting).c_str());
    }
    return kExitOk;
}

int Get(SettingsStore& store, const std::string& name) {
    if (const KnownSetting* setting = FindKnownSetting(name)) {
        std::printf("%s\n", EffectiveValue(store, *setting).c_str());
        return kExitOk;
    }
    std::string value = store.ReadSettingString(name, "");
    if (value.empty()) {
        std::fprintf(stderr, "brisko: the setting \"%s\" is not set\n", name.c_str());
        return kExitFailed;
    }
    std::printf("%s\n", value.c_str());
    return kExitOk;
}

int Set(SettingsStore& store, const std::string& name, const std::string& text) {
    std::string stored = text;
    std::string storedName = name;
    if (const KnownSetting* setting = FindKnownSetting(name)) {
        std::string problem;
        std::optional<std::string> checked = CheckSettingValue(*setting, text, problem);
        if (!checked) {
            std::fprintf(stderr, "brisko: \"%s\" takes %s, not \"%s\"\n", setting->name.c_str(),
                         problem.c_str(), text.c_str());
            return kExitUsage;
        }
        stored = *checked;
        storedName = setting->name;
    }
    if (!store.WriteSettingString(storedName, stored)) {
        std::fprintf(stderr, "brisko: cannot write the setting \"%s\"\n", storedName.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, SettingsOptions& options) {
    CLI::App* settings = app.add_subcommand("settings", "Show or change the program's settings");
    settings->require_subcommand(0, 1);
    settings->fallthrough();
    AddMachineOptions(*settings, options.machine);
    settings->add_subcommand("list", "Every stored setting, then the program's settings at their defaults");
    options.get = settings->add_subcommand("get", "The value of one setting as the program reads it");
    options.get->add_option("NAME", options.name, "Name of the setting")->required();
    options.set = settings->add_subcommand("set", "Store a value for one setting");
    options.set->add_option("NAME", options.name, "Name of the setting")->required();
    options.set->add_option("VALUE", options.value, "The value; numbers in decimal")->required();
}

int RunSettingsCommand(const SettingsOptions& options) {
    bool setting = options.set->parsed();
    if ((setting || options.get->parsed()) && options.name.empty()) {
        std::fprintf(stderr, "brisko: a setting needs a name\n");
        return kExitUsage;
    }
    std::unique_ptr<CommandMachine> opened = OpenMachineForCommand(options.machine);
    if (!opened) return kExitMachine;
    SettingsStore store(opened->Get().registry);
    if (options.get->parsed()) return Get(store, options.name);
    if (!setting) return List(store);
    int result = Set(store, options.name, options.value);
    if (result == kExitOk && !SaveMachineForCommand(*opened)) return kExitFailed;
    return result;
}

}  // namespace brisko::cli
