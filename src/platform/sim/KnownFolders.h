// Where a Windows version keeps its standard folders (the CSIDL folders) for one user, by the layout of
// Windows XP (major version below 6) or of Vista and later. machine.json may move any of them by name
// ("knownFolders"); the folders below a moved one move with it (moving "profile" moves "appdata"). A
// folder given as the empty text is one the system cannot name.
//
// Names, with their Windows 7 places (XP's in brackets where they differ):
//   profile               C:\Users\<user>                  [C:\Documents and Settings\<user>]
//   allusers_profile      C:\ProgramData                   [C:\Documents and Settings\All Users]
//   public                C:\Users\Public                  [the all-users profile]
//   windows               C:\Windows                       [C:\WINDOWS]
//   system                <windows>\system32
//   fonts                 <windows>\Fonts
//   program_files         C:\Program Files
//   program_files_common  <program_files>\Common Files
//   appdata               <profile>\AppData\Roaming        [<profile>\Application Data]
//   local_appdata         <profile>\AppData\Local          [<profile>\Local Settings\Application Data]
//   internet_cache        <local_appdata>\Microsoft\Windows\Temporary Internet Files
//                                                          [<profile>\Local Settings\Temporary Internet
//                                                          Files]
//   cookies               <appdata>\Microsoft\Windows\Cookies   [<profile>\Cookies]
//   history               <local_appdata>\Microsoft\Windows\History   [<profile>\Local Settings\History]
//   recent                <appdata>\Microsoft\Windows\Recent    [<profile>\Recent]
//   sendto                <appdata>\Microsoft\Windows\SendTo    [<profile>\SendTo]
//   templates             <appdata>\Microsoft\Windows\Templates [<profile>\Templates]
//   startmenu             <appdata>\Microsoft\Windows\Start Menu   [<profile>\Start Menu]
//   programs              <startmenu>\Programs;  startup  <programs>\Startup
//   common_appdata        <allusers_profile>               [<allusers_profile>\Application Data]
//   common_startmenu      <allusers_profile>\Microsoft\Windows\Start Menu   [<allusers_profile>\Start Menu]
//   common_programs       <common_startmenu>\Programs;  common_startup  <common_programs>\Startup
//   common_desktopdirectory  <public>\Desktop;  common_documents  <public>\Documents
//   desktopdirectory      <profile>\Desktop (also CSIDL_DESKTOP)
//   personal              <profile>\Documents              [<profile>\My Documents]
//   mypictures            <profile>\Pictures               [<personal>\My Pictures]
//   favorites             <profile>\Favorites
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/sim/MachineConfig.h"

namespace brisko::platform::sim {

class KnownFolders {
public:
    explicit KnownFolders(const MachineConfig& config);

    // The path of a CSIDL folder (without CSIDL_FLAG_CREATE), or false for an id the system has no
    // file-system folder for.
    bool FindByCsidl(int csidl, std::string& path) const;
    // The path of a folder by its name above; empty for an unknown name.
    std::string FindByName(std::string_view name) const;

private:
    std::map<std::string, std::string, std::less<>> paths_;
};

}  // namespace brisko::platform::sim
