// SQLite opens and writes its files by itself, past the file seam, so an image told to
// imitate a full disk would not reach a database inside it. This wraps SQLite's default
// file layer: a write that makes a file inside a live image grow takes that much of the
// image's free space, and fails with SQLITE_FULL when it can't have it all, as a real full
// disk does (overwriting pages a file already has needs no space, so a rollback still
// works). Everything else goes straight to the wrapped layer.
#include "platform/sandbox/sqlite_faults.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "platform/sandbox/image.h"

namespace orvo::os::sandbox {
namespace {

sqlite3_vfs* g_real = nullptr;

// Our file, followed in the same allocation by the wrapped layer's own file.
struct FaultFile {
  sqlite3_file base;
  std::string* path;
  sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

FaultFile* Of(sqlite3_file* f) { return reinterpret_cast<FaultFile*>(f); }
sqlite3_file* Real(sqlite3_file* f) { return Of(f)->Real(); }

int Close(sqlite3_file* f) {
  const int rc = Real(f)->pMethods ? Real(f)->pMethods->xClose(Real(f)) : SQLITE_OK;
  delete Of(f)->path;
  Of(f)->path = nullptr;
  return rc;
}
int Read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xRead(Real(f), buffer, amount, offset);
}
int Write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
  sqlite3_file* real = Real(f);
  sqlite3_int64 size = 0;
  if (Of(f)->path && real->pMethods->xFileSize(real, &size) == SQLITE_OK &&
      offset + amount > size) {
    const uint64_t growth = static_cast<uint64_t>(offset + amount - std::max(size, offset));
    if (Image::TakeDiskSpaceAt(*Of(f)->path, growth) < growth) return SQLITE_FULL;
  }
  return real->pMethods->xWrite(real, buffer, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); }
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
  return Real(f)->pMethods->xShmMap(Real(f), page, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int remove) { return Real(f)->pMethods->xShmUnmap(Real(f), remove); }
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
  return Real(f)->pMethods->xFetch(Real(f), offset, amount, out);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* page) {
  return Real(f)->pMethods->xUnfetch(Real(f), offset, page);
}

// One method table per version of the wrapped one, so SQLite sees the same abilities
// (no shared memory, no memory mapping) the real file has.
sqlite3_io_methods MethodsOfVersion(int version) {
  sqlite3_io_methods m{};
  m.iVersion = version;
  m.xClose = Close;
  m.xRead = Read;
  m.xWrite = Write;
  m.xTruncate = Truncate;
  m.xSync = Sync;
  m.xFileSize = FileSize;
  m.xLock = Lock;
  m.xUnlock = Unlock;
  m.xCheckReservedLock = CheckReservedLock;
  m.xFileControl = FileControl;
  m.xSectorSize = SectorSize;
  m.xDeviceCharacteristics = DeviceCharacteristics;
  if (version >= 2) {
    m.xShmMap = ShmMap;
    m.xShmLock = ShmLock;
    m.xShmBarrier = ShmBarrier;
    m.xShmUnmap = ShmUnmap;
  }
  if (version >= 3) {
    m.xFetch = Fetch;
    m.xUnfetch = Unfetch;
  }
  return m;
}

const sqlite3_io_methods kMethods[3] = {MethodsOfVersion(1), MethodsOfVersion(2),
                                        MethodsOfVersion(3)};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
  FaultFile* ours = Of(file);
  ours->base.pMethods = nullptr;
  ours->path = nullptr;
  const int rc = g_real->xOpen(g_real, name, ours->Real(), flags, out_flags);
  if (rc != SQLITE_OK || !ours->Real()->pMethods) return rc;
  if (name) ours->path = new std::string(name);
  const int version = std::clamp(ours->Real()->pMethods->iVersion, 1, 3);
  ours->base.pMethods = &kMethods[version - 1];
  return rc;
}

int Delete(sqlite3_vfs*, const char* name, int sync_dir) {
  return g_real->xDelete(g_real, name, sync_dir);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
  return g_real->xAccess(g_real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return g_real->xFullPathname(g_real, name, size, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void DlError(sqlite3_vfs*, int size, char* out) { g_real->xDlError(g_real, size, out); }
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))() {
  return g_real->xDlSym(g_real, handle, symbol);
}
void DlClose(sqlite3_vfs*, void* handle) { g_real->xDlClose(g_real, handle); }
int Randomness(sqlite3_vfs*, int size, char* out) { return g_real->xRandomness(g_real, size, out); }
int Sleep(sqlite3_vfs*, int microseconds) { return g_real->xSleep(g_real, microseconds); }
int CurrentTime(sqlite3_vfs*, double* out) { return g_real->xCurrentTime(g_real, out); }
int GetLastError(sqlite3_vfs*, int size, char* out) {
  return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, out) : 0;
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
  return g_real->xCurrentTimeInt64(g_real, out);
}

sqlite3_vfs g_vfs{};

}  // namespace

void InstallSqliteFaults() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (sqlite3_initialize() != SQLITE_OK) return;
    g_real = sqlite3_vfs_find(nullptr);
    if (!g_real || g_real->iVersion < 2) return;
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "orvo-image-faults";
    g_vfs.xOpen = Open;
    g_vfs.xDelete = Delete;
    g_vfs.xAccess = Access;
    g_vfs.xFullPathname = FullPathname;
    g_vfs.xDlOpen = DlOpen;
    g_vfs.xDlError = DlError;
    g_vfs.xDlSym = DlSym;
    g_vfs.xDlClose = DlClose;
    g_vfs.xRandomness = Randomness;
    g_vfs.xSleep = Sleep;
    g_vfs.xCurrentTime = CurrentTime;
    g_vfs.xGetLastError = GetLastError;
    g_vfs.xCurrentTimeInt64 = CurrentTimeInt64;
    sqlite3_vfs_register(&g_vfs, 1);
  });
}

}  // namespace orvo::os::sandbox
