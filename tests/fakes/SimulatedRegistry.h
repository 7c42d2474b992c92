#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "services/PlatformTypes.h"

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER as Windows documents them for the
// calls the tool makes. A path that starts "HKCU\" is the current user's, one
// that starts "HK64\" is in the 64-bit view (see `views`); any other is below
// HKEY_LOCAL_MACHINE. Names compare without regard to case.
// Handles to a deleted key stay valid but every use of them fails with
// ERROR_KEY_DELETED. A query's buffer is filled past the value it returns
// with 0xCD, as a canary: a caller that reads past the size it is told reads
// the canary, and one that claims more room than it has is caught by the
// sanitizer.
class SimulatedRegistry {
 public:
  enum class Family { Nt, Windows9x };

  // The NT family refuses to delete a key that has subkeys; 95/98/ME delete
  // it with all of them.
  Family family = Family::Nt;

  // The registry views of the machine. One: a 32-bit Windows, which ignores
  // the view flag KEY_WOW64_64KEY. Two: 64-bit Windows as a 32-bit program
  // sees it: HKEY_LOCAL_MACHINE is the 32-bit view, and an open asking
  // KEY_WOW64_64KEY below it reaches the 64-bit view, whose test paths start
  // "HK64\"; IsWow64Process says so. FlagRefused: a system that does not
  // know the flag and refuses an open asking for it.
  enum class Views { One, Two, FlagRefused };
  Views views = Views::One;

  void CreateKey(const std::string& path);
  void SetValue(const std::string& path, const std::string& name, DWORD type, std::vector<BYTE> data);
  // A value stored as the NT family keeps text, in UTF-16 (`data`'s bytes,
  // an odd count allowed). The 8-bit query gives ISO 8859-1, '?' beyond it.
  void SetWideValue(const std::string& path, const std::string& name, DWORD type, std::vector<BYTE> data);
  void SetString(const std::string& path, const std::string& name, const std::string& text);  // with terminator
  void SetDword(const std::string& path, const std::string& name, DWORD number);
  // Both also refuse the key's deletion, as a key's access list without the
  // delete right does.
  void DenyAccess(const std::string& path);    // opens asking for any right are refused
  void AllowReadOnly(const std::string& path);  // opens asking for more than KEY_READ are refused, as for a limited user
  bool KeyExists(const std::string& path) const;
  std::size_t OpenHandles() const { return handles_.size(); }
  // The full path of the key a handle refers to; "(invalid)" when none.
  std::string PathOf(HKEY key) const;
  REGSAM LastAccessAsked() const { return lastAccess_; }

  LONG Open(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result);
  // For the wide query, texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ), stored
  // here in the 8-bit code page, come back in UTF-16, as Windows keeps them.
  LONG Query(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size, bool wide = false);
  // The bytes of a value as stored; empty when there is no such value.
  std::vector<BYTE> ValueData(const std::string& path, const std::string& name) const;
  LONG EnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD type);
  LONG EnumKey(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars);
  LONG Delete(HKEY key, LPCSTR subkey);
  LONG Close(HKEY key);

 private:
  struct Value {
    DWORD type;
    std::vector<BYTE> data;
    bool wide = false;  // held in UTF-16, else in the 8-bit code page
  };
  struct Key {
    std::map<std::string, std::shared_ptr<Key>> subkeys;  // by upper-case name
    std::map<std::string, Value> values;                  // by upper-case name
    std::map<std::string, std::string> valueNames;        // upper-case name -> name as written
    std::weak_ptr<Key> parent;
    std::string name;
    bool deleted = false;
    bool denied = false;
    bool readOnly = false;
  };

  std::shared_ptr<Key> Find(const std::shared_ptr<Key>& from, const std::string& path) const;
  std::shared_ptr<Key> Make(const std::string& path);
  // The root a test path names, and the rest of the path below it.
  std::pair<std::shared_ptr<Key>, std::string> Locate(const std::string& path) const;
  // The key a handle refers to; null with `error` set when it refers to none.
  std::shared_ptr<Key> FromHandle(HKEY key, LONG& error) const;
  static void MarkDeleted(Key& key);

  std::shared_ptr<Key> root_ = std::make_shared<Key>();
  std::shared_ptr<Key> userRoot_ = std::make_shared<Key>();
  std::shared_ptr<Key> root64_ = std::make_shared<Key>();
  std::map<HKEY, std::shared_ptr<Key>> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  REGSAM lastAccess_ = 0;
};
