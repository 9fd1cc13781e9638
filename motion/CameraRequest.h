#pragma once

#include <cstdint>
#include <string>

// What every camera request shares: libcurl's preparation, the body's limits, the exchange's
// time-out and the "no camera" addresses. The requests themselves run in CameraExchanges.

constexpr int32_t kCameraBodyCapacity = 449999;   // a body buffer holds at least this much
constexpr int32_t kCameraBodyStoreLimit = 448976; // pieces are stored while the total is below
constexpr int32_t kCameraBodyPieceSize = 1024;
constexpr long kCameraExchangeTimeoutMs = 5000; // connection, request and answer together

// Once per process, in main before any window or thread; false when the sockets cannot be
// prepared. The cleanup comes after the last request has ended.
bool InitCameraRequests();
void CleanupCameraRequests();

// False for the addresses that stand for "no camera" (empty, 0.0.0.0): nothing is contacted.
bool CameraAddressSet(const std::string& host);
