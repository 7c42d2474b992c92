#include <gtest/gtest.h>

#include "app/OtherInstalledPrograms.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kOther = kUninstall + "Other";
const std::string kOwn = kUninstall + "Quorvane";
const std::string kOwn64 = "HK64\\" + kOwn;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// An XP machine with Quorvane in C:\Apps2, another vendor's program below it,
// and a file whose name is where an unquoted command line of that program's
// breaks first ("C:\Apps2\Other"), which only the shortest reading would take.
void LayOutMachine(SimulatedPlatform& platform) {
  for (const wchar_t* file : {L"C:\\Apps2\\Quorvane.exe", L"C:\\Apps2\\Other", L"C:\\Apps2\\unins000.exe",
                              L"C:\\Apps2\\Other Vendor\\bin\\other.exe", L"C:\\Apps2\\Other Vendor\\un ins.exe",
                              L"C:\\Apps3\\Beside\\beside.exe", L"C:\\Program Files\\Quorvane\\Quorvane.exe",
                              L"C:\\WINDOWS\\system32\\MsiExec.exe", L"C:\\WINDOWS\\Installer\\{7A1B}\\icon.exe",
                              L"C:\\Program Files\\Bundle\\Other64\\x.exe", L"C:\\Program Files\\Bundle\\Other32\\x.exe",
                              L"C:\\Program Files (x86)\\Bundle\\Other32\\x.exe"}) {
    platform.drive.AddFile(file);
  }
  platform.environment["SystemDrive"] = "C:";
  platform.environment["ProgramFiles"] = "C:\\Program Files (x86)";
}

// 64-bit Windows as the 32-bit program sees it.
void On64BitWindows(SimulatedPlatform& p) { p.registry.views = SimulatedRegistry::Views::Two; }
void ProgramW6432(SimulatedPlatform& p) {
  On64BitWindows(p);
  p.environment["ProgramW6432"] = "C:\\Program Files";
}
void Only64BitProgramFilesDir(SimulatedPlatform& p) {
  On64BitWindows(p);
  p.registry.SetString("HK64\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
}
void Windows2000(SimulatedPlatform& p) {
  p.registry.views = SimulatedRegistry::Views::FlagRefused;
  p.WithholdEntryPoint("IsWow64Process");
}
void Windows98(SimulatedPlatform& p) { p.RunAs(1, 4, 10); }
void StartedInTheInstallFolder(SimulatedPlatform& p) { p.currentFolder = "C:\\Apps2"; }
// The same folders on a CD (E:) and on a server's drive (N:), where nothing
// is ever looked at.
void OnACdAndAServer(SimulatedPlatform& p) {
  for (wchar_t drive : {L'E', L'N'}) {
    p.drives += static_cast<char>(drive);
    p.drive.AddDrive(drive);
    p.drive.AddFolder(std::wstring(1, drive) + L":\\Apps2\\Other Vendor");
  }
  p.cdDrives.insert('E');
  p.networkDrives.insert('N');
}
void LinkToTheInstallFolder(SimulatedPlatform& p) { p.drive.AddFolderLink(L"C:\\Links\\Apps2", L"C:\\Apps2"); }

struct Value {
  std::string key;
  const char* name;
  std::string text;
  DWORD type = REG_SZ;
};

struct Row {
  const char* what;
  const wchar_t* installFolder;
  std::vector<Value> values;
  void (*machine)(SimulatedPlatform&);  // null: XP as laid out
  const wchar_t* program;               // the other program found; null: none
  const wchar_t* folder;
};

// Where each entry says its program lives, and which entries count.
TEST(OtherInstalledPrograms, AnEntrysFolderInsideTheInstallFolderIsFoundByEveryValueThatNamesIt) {
  const wchar_t* const apps = L"C:\\Apps2";
  const wchar_t* const vendor = L"C:\\Apps2\\Other Vendor";
  const wchar_t* const bin = L"C:\\Apps2\\Other Vendor\\bin";
  // The same text in each view; only the 64-bit one's lies in the install folder.
  const std::vector<Value> bundle = {
      {kOther + "32", "InstallLocation", "%ProgramFiles%\\Bundle\\Other32", REG_EXPAND_SZ},
      {"HK64\\" + kOther + "64", "InstallLocation", "%ProgramFiles%\\Bundle\\Other64", REG_EXPAND_SZ}};
  const Row rows[] = {
      {"InstallLocation inside",
       apps,
       {{kOther, "DisplayName", "Other Vendor Tool"}, {kOther, "InstallLocation", "C:\\Apps2\\Other Vendor"}},
       nullptr,
       L"Other Vendor Tool",
       vendor},
      {"InstallLocation quoted; no DisplayName: the key's name", apps,
       {{kOther, "InstallLocation", "\"C:\\Apps2\\Other Vendor\""}}, nullptr, L"Other", vendor},
      {"InstallLocation the install folder itself", L"C:\\Apps2\\", {{kOther, "InstallLocation", "c:\\apps2"}}, nullptr,
       L"Other", L"c:\\apps2"},
      {"InstallLocation through a folder link", apps, {{kOther, "InstallLocation", "C:\\Links\\Apps2\\Other Vendor"}},
       LinkToTheInstallFolder, L"Other", L"C:\\Links\\Apps2\\Other Vendor"},
      {"DisplayIcon quoted, its index after the quotes", apps,
       {{kOther, "DisplayIcon", "\"C:\\Apps2\\Other Vendor\\bin\\other.exe\",0"}}, nullptr, L"Other", bin},
      {"DisplayIcon unquoted with spaces and a negative index", apps,
       {{kOther, "DisplayIcon", "C:\\Apps2\\Other Vendor\\bin\\other.exe,-101"}}, nullptr, L"Other", bin},
      {"UninstallString quoted, with arguments", apps,
       {{kOther, "UninstallString", "\"C:\\Apps2\\Other Vendor\\un ins.exe\" /S"}}, nullptr, L"Other", vendor},
      {"UninstallString unquoted: the longest part that is a file", apps,
       {{kOther, "UninstallString", "C:\\Apps2\\Other Vendor\\un ins.exe /S /LOG=C:\\a b.log"}}, nullptr, L"Other",
       vendor},
      {"Quorvane's own entry, read once on 32-bit Windows", apps, {{kUninstall + "QUORVANE", "InstallLocation", "C:\\Apps2"}},
       nullptr, nullptr, nullptr},
      {"the 64-bit view's Quorvane is another program's",
       apps,
       {{kOwn, "InstallLocation", "C:\\Apps2"},
        {kOwn64, "DisplayName", "Quorvane (64-bit)"},
        {kOwn64, "InstallLocation", "C:\\Apps2\\Other Vendor"}},
       On64BitWindows,
       L"Quorvane (64-bit)",
       vendor},
      {"REG_EXPAND_SZ is expanded", apps,
       {{kOther, "InstallLocation", "%SystemDrive%\\Apps2\\Other Vendor", REG_EXPAND_SZ}}, nullptr, L"Other", vendor},
      {"REG_SZ is not", apps, {{kOther, "InstallLocation", "%SystemDrive%\\Apps2\\Other Vendor"}}, nullptr, nullptr,
       nullptr},
      {"64-bit view: %ProgramFiles% is ProgramW6432", L"C:\\Program Files\\Bundle", bundle, ProgramW6432, L"Other64",
       L"C:\\Program Files\\Bundle\\Other64"},
      {"64-bit view before Windows 7: the view's own ProgramFilesDir", L"C:\\Program Files\\Bundle", bundle,
       Only64BitProgramFilesDir, L"Other64", L"C:\\Program Files\\Bundle\\Other64"},
      {"Windows 2000: no IsWow64Process, the view flag refused, its one view read", apps,
       {{kOther, "InstallLocation", "C:\\Apps2\\Other Vendor"}}, Windows2000, L"Other", vendor},
      {"95/98/ME: the 8-bit forms", apps,
       {{kOther, "UninstallString", "%SystemDrive%\\Apps2\\Other Vendor\\un ins.exe /S", REG_EXPAND_SZ}}, Windows98,
       L"Other", vendor},
      // What tells of no folder inside the install folder.
      {"relative: never resolved, though the current folder is the install folder",
       apps,
       {{kOther, "UninstallString", "unins000.exe /SILENT"}, {kOther, "DisplayIcon", "unins000.exe,0"}},
       StartedInTheInstallFolder,
       nullptr,
       nullptr},
      {"drive-relative and root-relative",
       apps,
       {{kOther, "UninstallString", "C:unins000.exe"},
        {kOther, "InstallLocation", "C:"},
        {kOther, "DisplayIcon", "\\Apps2\\Other Vendor\\bin\\other.exe"}},
       StartedInTheInstallFolder,
       nullptr,
       nullptr},
      // The guard refuses such an install folder first; this rule holds by itself.
      {"programs of the Windows folder",
       L"C:\\WINDOWS",
       {{kUninstall + "{7A1B}", "UninstallString", "C:\\WINDOWS\\system32\\MsiExec.exe /X{7A1B}"},
        {kUninstall + "{7A1B}", "DisplayIcon", "C:\\WINDOWS\\Installer\\{7A1B}\\icon.exe,0"}},
       nullptr,
       nullptr,
       nullptr},
      {"a folder that does not exist",
       apps,
       {{kOther, "InstallLocation", "C:\\Apps2\\Gone"}, {kOther, "UninstallString", "\"C:\\Apps2\\Gone\\uninst.exe\""}},
       nullptr,
       nullptr,
       nullptr},
      {"on a CD", L"E:\\Apps2", {{kOther, "InstallLocation", "E:\\Apps2\\Other Vendor"}}, OnACdAndAServer, nullptr,
       nullptr},
      {"on a server's drive", L"N:\\Apps2", {{kOther, "InstallLocation", "N:\\Apps2\\Other Vendor"}}, OnACdAndAServer,
       nullptr, nullptr},
      {"a folder beside", apps, {{kOther, "InstallLocation", "C:\\Apps3\\Beside"}}, nullptr, nullptr, nullptr},
      {"folders above: the drive and Program Files",
       L"C:\\Program Files\\Quorvane",
       {{kUninstall + "Drive", "InstallLocation", "C:\\"}, {kOther, "InstallLocation", "C:\\Program Files"}},
       nullptr,
       nullptr,
       nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SimulatedPlatform platform;
    LayOutMachine(platform);
    if (row.machine != nullptr) row.machine(platform);
    for (const Value& value : row.values) {
      std::vector<BYTE> data(value.text.begin(), value.text.end());
      data.push_back(0);
      platform.registry.SetValue(value.key, value.name, value.type, data);
    }
    const bool ntFamily = platform.version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    // Each family reads with its own forms only: 95/98/ME never bind a wide one.
    const std::vector<const char*> otherFamilys =
        ntFamily ? std::vector<const char*>{"RegOpenKeyExA", "RegEnumKeyExA", "RegQueryValueExA",
                                            "ExpandEnvironmentStringsA"}
                 : std::vector<const char*>{"RegOpenKeyExW", "RegEnumKeyExW", "RegQueryValueExW",
                                            "ExpandEnvironmentStringsW", "IsWow64Process"};
    for (const char* name : otherFamilys) platform.WithholdEntryPoint(name);
    const std::optional<qvn::OtherProgram> found = qvn::OtherProgramIn(row.installFolder, ntFamily);
    if (row.program == nullptr) {
      EXPECT_FALSE(found.has_value()) << Narrow(found->name) << " in " << Narrow(found->folder);
    } else if (!found) {
      ADD_FAILURE() << "no other program found";
    } else {
      EXPECT_EQ(Narrow(found->name), Narrow(row.program));
      EXPECT_EQ(Narrow(found->folder), Narrow(row.folder));
    }
    EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  }
}

}  // namespace
