#include "runtime/testing/FailingWrites.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace kestrix::runtime::testing {

namespace {

std::atomic<int> failingWritesDepth{0};
std::atomic<int> failingWritesRefused{0};

// The layer's file: its own methods first, then the file of the system's layer beneath.
struct LayeredFile
{
    sqlite3_file base;
    sqlite3_file* inner() { return reinterpret_cast<sqlite3_file*>(this + 1); }
};

sqlite3_vfs* systemVfs = nullptr;

LayeredFile* layered(sqlite3_file* file)
{
    return reinterpret_cast<LayeredFile*>(file);
}

sqlite3_file* below(sqlite3_file* file)
{
    return layered(file)->inner();
}

bool refuseWrite()
{
    if (failingWritesDepth.load() == 0)
        return false;
    ++failingWritesRefused;
    return true;
}

int layerClose(sqlite3_file* f)
{
    return below(f)->pMethods->xClose(below(f));
}
int layerRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return below(f)->pMethods->xRead(below(f), buffer, amount, offset);
}
int layerWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    return refuseWrite() ? SQLITE_FULL : below(f)->pMethods->xWrite(below(f), buffer, amount, offset);
}
int layerTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return refuseWrite() ? SQLITE_FULL : below(f)->pMethods->xTruncate(below(f), size);
}
int layerSync(sqlite3_file* f, int flags)
{
    return refuseWrite() ? SQLITE_FULL : below(f)->pMethods->xSync(below(f), flags);
}
int layerFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return below(f)->pMethods->xFileSize(below(f), size);
}
int layerLock(sqlite3_file* f, int level)
{
    return below(f)->pMethods->xLock(below(f), level);
}
int layerUnlock(sqlite3_file* f, int level)
{
    return below(f)->pMethods->xUnlock(below(f), level);
}
int layerCheckReservedLock(sqlite3_file* f, int* result)
{
    return below(f)->pMethods->xCheckReservedLock(below(f), result);
}
int layerFileControl(sqlite3_file* f, int op, void* arg)
{
    return below(f)->pMethods->xFileControl(below(f), op, arg);
}
int layerSectorSize(sqlite3_file* f)
{
    return below(f)->pMethods->xSectorSize(below(f));
}
int layerDeviceCharacteristics(sqlite3_file* f)
{
    return below(f)->pMethods->xDeviceCharacteristics(below(f));
}
int layerShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** memory)
{
    return below(f)->pMethods->xShmMap(below(f), region, size, extend, memory);
}
int layerShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return below(f)->pMethods->xShmLock(below(f), offset, n, flags);
}
void layerShmBarrier(sqlite3_file* f)
{
    below(f)->pMethods->xShmBarrier(below(f));
}
int layerShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return below(f)->pMethods->xShmUnmap(below(f), deleteFlag);
}
int layerFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** page)
{
    return below(f)->pMethods->xFetch(below(f), offset, amount, page);
}
int layerUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    return below(f)->pMethods->xUnfetch(below(f), offset, page);
}

// Version 3 of the methods (shared memory and memory-mapped pages) is what both systems' layers offer;
// a file beneath with an older version gets these methods cut to its own.
const sqlite3_io_methods layerMethods[] = {
    {1, layerClose, layerRead, layerWrite, layerTruncate, layerSync, layerFileSize, layerLock, layerUnlock,
     layerCheckReservedLock, layerFileControl, layerSectorSize, layerDeviceCharacteristics, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {2, layerClose, layerRead, layerWrite, layerTruncate, layerSync, layerFileSize, layerLock, layerUnlock,
     layerCheckReservedLock, layerFileControl, layerSectorSize, layerDeviceCharacteristics, layerShmMap,
     layerShmLock, layerShmBarrier, layerShmUnmap, nullptr, nullptr},
    {3, layerClose, layerRead, layerWrite, layerTruncate, layerSync, layerFileSize, layerLock, layerUnlock,
     layerCheckReservedLock, layerFileControl, layerSectorSize, layerDeviceCharacteristics, layerShmMap,
     layerShmLock, layerShmBarrier, layerShmUnmap, layerFetch, layerUnfetch},
};

int layerOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    sqlite3_file* inner = layered(file)->inner();
    std::memset(inner, 0, static_cast<std::size_t>(systemVfs->szOsFile));
    file->pMethods = nullptr;
    const int rc = systemVfs->xOpen(systemVfs, name, inner, flags, outFlags);
    if (inner->pMethods) {
        // SQLite closes a file whose methods are set even when the open failed.
        const int version = inner->pMethods->iVersion < 1
                                ? 1
                                : (inner->pMethods->iVersion > 3 ? 3 : inner->pMethods->iVersion);
        file->pMethods = &layerMethods[version - 1];
    }
    return rc;
}

int layerDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return systemVfs->xDelete(systemVfs, name, syncDir);
}
int layerAccess(sqlite3_vfs*, const char* name, int flags, int* result)
{
    return systemVfs->xAccess(systemVfs, name, flags, result);
}
int layerFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return systemVfs->xFullPathname(systemVfs, name, size, out);
}
void* layerDlOpen(sqlite3_vfs*, const char* name)
{
    return systemVfs->xDlOpen(systemVfs, name);
}
void layerDlError(sqlite3_vfs*, int size, char* out)
{
    systemVfs->xDlError(systemVfs, size, out);
}
void (*layerDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return systemVfs->xDlSym(systemVfs, handle, symbol);
}
void layerDlClose(sqlite3_vfs*, void* handle)
{
    systemVfs->xDlClose(systemVfs, handle);
}
int layerRandomness(sqlite3_vfs*, int size, char* out)
{
    return systemVfs->xRandomness(systemVfs, size, out);
}
int layerSleep(sqlite3_vfs*, int microseconds)
{
    return systemVfs->xSleep(systemVfs, microseconds);
}
int layerCurrentTime(sqlite3_vfs*, double* now)
{
    return systemVfs->xCurrentTime(systemVfs, now);
}
int layerGetLastError(sqlite3_vfs*, int size, char* out)
{
    return systemVfs->xGetLastError ? systemVfs->xGetLastError(systemVfs, size, out) : 0;
}
int layerCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now)
{
    if (systemVfs->iVersion >= 2 && systemVfs->xCurrentTimeInt64)
        return systemVfs->xCurrentTimeInt64(systemVfs, now);
    double days = 0;
    const int rc = systemVfs->xCurrentTime(systemVfs, &days);
    *now = static_cast<sqlite3_int64>(days * 86400000.0);
    return rc;
}

sqlite3_vfs layerVfs{};

// Registered as the default before main, so every file of the program goes through the layer.
bool installLayer()
{
    systemVfs = sqlite3_vfs_find(nullptr);
    if (!systemVfs) {
        std::cerr << "FailingWrites: SQLite has no file layer to put the seam over\n";
        std::abort();
    }
    layerVfs.iVersion = 2;
    layerVfs.szOsFile = static_cast<int>(sizeof(LayeredFile)) + systemVfs->szOsFile;
    layerVfs.mxPathname = systemVfs->mxPathname;
    layerVfs.zName = "kestrix-failing-writes";
    layerVfs.xOpen = layerOpen;
    layerVfs.xDelete = layerDelete;
    layerVfs.xAccess = layerAccess;
    layerVfs.xFullPathname = layerFullPathname;
    layerVfs.xDlOpen = layerDlOpen;
    layerVfs.xDlError = layerDlError;
    layerVfs.xDlSym = layerDlSym;
    layerVfs.xDlClose = layerDlClose;
    layerVfs.xRandomness = layerRandomness;
    layerVfs.xSleep = layerSleep;
    layerVfs.xCurrentTime = layerCurrentTime;
    layerVfs.xGetLastError = layerGetLastError;
    layerVfs.xCurrentTimeInt64 = layerCurrentTimeInt64;
    if (sqlite3_vfs_register(&layerVfs, 1) != SQLITE_OK) {
        std::cerr << "FailingWrites: the seam could not be registered with SQLite\n";
        std::abort();
    }
    return true;
}

const bool failingWritesInstalled = installLayer();

} // namespace

FailingWrites::FailingWrites() : m_refusedBefore(failingWritesRefused.load())
{
    (void)failingWritesInstalled;
    ++failingWritesDepth;
}

FailingWrites::~FailingWrites()
{
    --failingWritesDepth;
}

int FailingWrites::refused() const
{
    return failingWritesRefused.load() - m_refusedBefore;
}

} // namespace kestrix::runtime::testing
