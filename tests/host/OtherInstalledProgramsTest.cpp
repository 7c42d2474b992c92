#include <gtest/gtest.h>

#include "app/OtherInstalledPrograms.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kUninstall64 = "HK64\\" + kUninstall;

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

void Set(SimulatedPlatform& p, const std::string& key, const char* name, const std::string& text) {
  p.registry.SetString(key, name, text);
}

void SetExpandable(SimulatedPlatform& p, const std::string& key, const char* name, const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  p.registry.SetValue(key, name, REG_EXPAND_SZ, data);
}

// 64-bit Windows as the 32-bit program sees it, with a bundle whose 64-bit
// part lives in the 64-bit Program Files, its 32-bit part in the other.
void BundleOn64BitWindows(SimulatedPlatform& p) {
  p.registry.views = SimulatedRegistry::Views::Two;
  SetExpandable(p, kUninstall + "Other32", "InstallLocation", "%ProgramFiles%\\Bundle\\Other32");
  SetExpandable(p, kUninstall64 + "Other64", "InstallLocation", "%ProgramFiles%\\Bundle\\Other64");
}

struct Row {
  const char* what;
  const wchar_t* installFolder;
  void (*arrange)(SimulatedPlatform&);
  const wchar_t* program;  // the other program found; null: none
  const wchar_t* folder;
};

// Where each entry says its program lives, and which entries count.
TEST(OtherInstalledPrograms, AnEntrysFolderInsideTheInstallFolderIsFoundByEveryValueThatNamesIt) {
  const Row rows[] = {
      {"InstallLocation inside", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         Set(p, kUninstall + "OtherVendor", "DisplayName", "Other Vendor Tool");
         Set(p, kUninstall + "OtherVendor", "InstallLocation", "C:\\Apps2\\Other Vendor");
       },
       L"Other Vendor Tool", L"C:\\Apps2\\Other Vendor"},
      {"InstallLocation quoted, no DisplayName: the key's name", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "OtherVendor", "InstallLocation", "\"C:\\Apps2\\Other Vendor\""); },
       L"OtherVendor", L"C:\\Apps2\\Other Vendor"},
      {"InstallLocation the install folder itself", L"C:\\Apps2\\",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "InstallLocation", "c:\\apps2"); }, L"Other",
       L"c:\\apps2"},
      {"InstallLocation through a folder link", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.drive.AddFolderLink(L"C:\\Links\\Apps2", L"C:\\Apps2");
         Set(p, kUninstall + "Other", "InstallLocation", "C:\\Links\\Apps2\\Other Vendor");
       },
       L"Other", L"C:\\Links\\Apps2\\Other Vendor"},
      {"DisplayIcon quoted, index after the quotes", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "DisplayIcon", "\"C:\\Apps2\\Other Vendor\\bin\\other.exe\",0"); },
       L"Other", L"C:\\Apps2\\Other Vendor\\bin"},
      {"DisplayIcon unquoted with spaces and a negative index", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "DisplayIcon", "C:\\Apps2\\Other Vendor\\bin\\other.exe,-101"); },
       L"Other", L"C:\\Apps2\\Other Vendor\\bin"},
      {"UninstallString quoted, with arguments", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "UninstallString", "\"C:\\Apps2\\Other Vendor\\un ins.exe\" /S"); },
       L"Other", L"C:\\Apps2\\Other Vendor"},
      {"UninstallString unquoted: the longest part that is a file", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         Set(p, kUninstall + "Other", "UninstallString", "C:\\Apps2\\Other Vendor\\un ins.exe /S /LOG=C:\\a b.log");
       },
       L"Other", L"C:\\Apps2\\Other Vendor"},
      {"Quorvane's own entry, read once on 32-bit Windows", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "QUORVANE", "InstallLocation", "C:\\Apps2"); }, nullptr, nullptr},
      {"the 64-bit view's Quorvane is another program's", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.registry.views = SimulatedRegistry::Views::Two;
         Set(p, kUninstall + "Quorvane", "InstallLocation", "C:\\Apps2");
         Set(p, kUninstall64 + "Quorvane", "DisplayName", "Quorvane (64-bit)");
         Set(p, kUninstall64 + "Quorvane", "InstallLocation", "C:\\Apps2\\Other Vendor");
       },
       L"Quorvane (64-bit)", L"C:\\Apps2\\Other Vendor"},
      {"REG_EXPAND_SZ is expanded", L"C:\\Apps2",
       [](SimulatedPlatform& p) { SetExpandable(p, kUninstall + "Other", "InstallLocation", "%SystemDrive%\\Apps2\\Other Vendor"); },
       L"Other", L"C:\\Apps2\\Other Vendor"},
      {"REG_SZ is not", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "InstallLocation", "%SystemDrive%\\Apps2\\Other Vendor"); },
       nullptr, nullptr},
      {"64-bit view: %ProgramFiles% is ProgramW6432", L"C:\\Program Files\\Bundle",
       [](SimulatedPlatform& p) {
         BundleOn64BitWindows(p);
         p.environment["ProgramW6432"] = "C:\\Program Files";
       },
       L"Other64", L"C:\\Program Files\\Bundle\\Other64"},
      {"64-bit view before Windows 7: the view's own ProgramFilesDir", L"C:\\Program Files\\Bundle",
       [](SimulatedPlatform& p) {
         BundleOn64BitWindows(p);
         Set(p, "HK64\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
       },
       L"Other64", L"C:\\Program Files\\Bundle\\Other64"},
      {"Windows 2000: no IsWow64Process, the view flag refused, its one view read", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.registry.views = SimulatedRegistry::Views::FlagRefused;
         p.WithholdEntryPoint("IsWow64Process");
         Set(p, kUninstall + "Other", "InstallLocation", "C:\\Apps2\\Other Vendor");
       },
       L"Other", L"C:\\Apps2\\Other Vendor"},
      {"95/98/ME: the 8-bit forms", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.RunAs(1, 4, 10);
         SetExpandable(p, kUninstall + "Other", "UninstallString", "%SystemDrive%\\Apps2\\Other Vendor\\un ins.exe /S");
       },
       L"Other", L"C:\\Apps2\\Other Vendor"},
      // What tells of no folder inside the install folder.
      {"relative: never resolved, though the current folder is the install folder", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.currentFolder = "C:\\Apps2";
         Set(p, kUninstall + "Other", "UninstallString", "unins000.exe /SILENT");
         Set(p, kUninstall + "Other", "DisplayIcon", "unins000.exe,0");
       },
       nullptr, nullptr},
      {"drive-relative and root-relative", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         p.currentFolder = "C:\\Apps2";
         Set(p, kUninstall + "Other", "UninstallString", "C:unins000.exe");
         Set(p, kUninstall + "Other", "InstallLocation", "C:");
         Set(p, kUninstall + "Other", "DisplayIcon", "\\Apps2\\Other Vendor\\bin\\other.exe");
       },
       nullptr, nullptr},
      {"programs of the Windows folder", L"C:\\WINDOWS",
       [](SimulatedPlatform& p) {
         Set(p, kUninstall + "{7A1B}", "UninstallString", "C:\\WINDOWS\\system32\\MsiExec.exe /X{7A1B}");
         Set(p, kUninstall + "{7A1B}", "DisplayIcon", "C:\\WINDOWS\\Installer\\{7A1B}\\icon.exe,0");
       },
       nullptr, nullptr},
      {"a folder that does not exist", L"C:\\Apps2",
       [](SimulatedPlatform& p) {
         Set(p, kUninstall + "Other", "InstallLocation", "C:\\Apps2\\Gone");
         Set(p, kUninstall + "Other", "UninstallString", "\"C:\\Apps2\\Gone\\uninst.exe\"");
       },
       nullptr, nullptr},
      {"a folder beside", L"C:\\Apps2",
       [](SimulatedPlatform& p) { Set(p, kUninstall + "Other", "InstallLocation", "C:\\Apps3\\Beside"); }, nullptr,
       nullptr},
      {"folders above: the drive and Program Files", L"C:\\Program Files\\Quorvane",
       [](SimulatedPlatform& p) {
         Set(p, kUninstall + "Drive", "InstallLocation", "C:\\");
         Set(p, kUninstall + "Programs", "InstallLocation", "C:\\Program Files");
         Set(p, kUninstall + "Programs", "UninstallString", "C:\\uninst.exe");
       },
       nullptr, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SimulatedPlatform platform;
    LayOutMachine(platform);
    row.arrange(platform);
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
