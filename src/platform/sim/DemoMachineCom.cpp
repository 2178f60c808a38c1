// The demo machine's documented entries for COM classes, interfaces, type libraries and applications. They
// are written through HKEY_CLASSES_ROOT, so they land below HKEY_LOCAL_MACHINE\SOFTWARE\Classes; every one
// lies at least two keys deep, where Deep Scan does not look.
#include "platform/sim/DemoMachine.h"

namespace brisko::platform::sim {

namespace {

constexpr int kCustomControls = 10;

using enum DemoVerdict;
using enum DemoData;

#define ORCHID_CLASS "CLSID\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E01}"
#define ORCHID_SERVER "CLSID\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E02}"
#define STUDIO_CLASS "CLSID\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E03}"
#define NOTES_CLASS "CLSID\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E04}"
#define STUDIO_CLASS_ID "{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E03}"
#define ORCHID_LIB "TypeLib\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E11}\\1.0"
#define STUDIO_LIB "TypeLib\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E12}\\2.0"

constexpr DemoEntry kEntries[] = {
    // Classes: the class registry is walked once as a whole, and the class keys once more on their own;
    // a broken class value is still listed once.
    {kCustomControls, kClassesRoot, ORCHID_CLASS "\\InprocServer32", "", kRegSz,
     "C:\\Program Files\\Orchid Charts\\orchart.ocx", kText, kFound, ""},
    {kCustomControls, kClassesRoot, ORCHID_SERVER "\\LocalServer32", "", kRegSz,
     "\"C:\\Program Files\\Orchid Charts\\orserver.exe\" /automation", kText, kFound, ""},
    {kCustomControls, kClassesRoot, STUDIO_CLASS "\\InprocServer32", "", kRegSz,
     "C:\\Program Files\\Paint Studio\\filters.dll", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, STUDIO_CLASS "\\InprocServer32", "ThreadingModel", kRegSz, "Apartment",
     kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, STUDIO_CLASS "\\DefaultIcon", "", kRegSz,
     "C:\\Program Files\\Paint Studio\\pstudio.exe,1", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, NOTES_CLASS "\\InprocServer32", "", kRegSz,
     "E:\\PortableApps\\Notes\\notesext.dll", kText, kHealthy, ""},

    // Type libraries.
    {kCustomControls, kClassesRoot, ORCHID_LIB "\\0\\win32", "", kRegSz,
     "C:\\Program Files\\Orchid Charts\\orchart.tlb", kText, kFound, ""},
    {kCustomControls, kClassesRoot, ORCHID_LIB "\\HELPDIR", "", kRegSz,
     "C:\\Program Files\\Orchid Charts\\Help", kText, kFound, ""},
    {kCustomControls, kClassesRoot, STUDIO_LIB "\\0\\win32", "", kRegSz,
     "C:\\Program Files\\Paint Studio\\pstudio.tlb", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, STUDIO_LIB "\\9\\win32", "", kRegSz, "pstudio9.tlb", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, STUDIO_LIB "\\409\\win32", "", kRegSz, "D:\\Libraries\\pstudio409.tlb",
     kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, STUDIO_LIB "\\FLAGS", "", kRegSz, "0", kText, kHealthy, ""},

    // Applications.
    {kCustomControls, kClassesRoot, "Applications\\orchart.exe\\shell\\open\\command", "", kRegSz,
     "\"C:\\Program Files\\Orchid Charts\\orchart.exe\" \"%1\"", kText, kFound, ""},
    {kCustomControls, kClassesRoot, "Applications\\pstudio.exe\\shell\\open\\command", "", kRegSz,
     "\"C:\\Program Files\\Paint Studio\\pstudio.exe\" \"%1\"", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, "Applications\\orview.dll\\shell\\open\\command", "", kRegSz,
     "C:\\Windows\\system32\\rundll32.exe C:\\Program Files\\Orchid Charts\\orview.dll,Show %1", kText,
     kHealthy, ""},
    {kCustomControls, kClassesRoot, "Applications\\chartcli.exe\\shell\\open\\command", "", kRegSz,
     "chartcli.exe \"%1\"", kText, kHealthy, ""},

    // Interfaces and programmatic identifiers that name a class.
    {kCustomControls, kClassesRoot, "Interface\\{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E21}\\ProxyStubClsid32", "",
     kRegSz, STUDIO_CLASS_ID, kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, "PaintStudio.Image\\CLSID", "", kRegSz, STUDIO_CLASS_ID, kText, kHealthy,
     ""},
    {kCustomControls, kClassesRoot, "OrchidCharts.Chart\\CLSID", "", kRegSz,
     "{6F1D2A10-0C4B-4E8A-9B7E-1A2B3C4D5E09}", kText, kHealthy, ""},
    {kCustomControls, kClassesRoot, "OrchidCharts.Chart\\CurVer", "", kRegSz, "OrchidCharts.Chart.2", kText,
     kHealthy, ""},
};

#undef ORCHID_CLASS
#undef ORCHID_SERVER
#undef STUDIO_CLASS
#undef NOTES_CLASS
#undef STUDIO_CLASS_ID
#undef ORCHID_LIB
#undef STUDIO_LIB

constexpr std::string_view kFiles[] = {
    "C:\\Program Files\\Paint Studio\\pstudio.tlb",
};

}  // namespace

std::span<const DemoEntry> DemoComEntries() {
    return kEntries;
}

std::span<const std::string_view> DemoComFiles() {
    return kFiles;
}

bool AddDemoComExtras(SimMachine&, std::string&) {
    return true;
}

}  // namespace brisko::platform::sim
