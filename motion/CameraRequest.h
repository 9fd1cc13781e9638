#pragma once

#include "motion/CameraOutcome.h"

#include <cstdint>
#include <string>

class CameraRequestAbort;

// One synchronous HTTP GET to the camera. Free of Qt, safe on several threads at once.

constexpr int32_t kCameraBodyCapacity = 449999;   // a body buffer holds at least this much
constexpr int32_t kCameraBodyStoreLimit = 448976; // pieces are stored while the total is below
constexpr int32_t kCameraBodyPieceSize = 1024;
constexpr long kCameraExchangeTimeoutMs = 5000; // connection, request and answer together

// Once per process, in main before any window or thread; false when the sockets cannot be
// prepared. The cleanup comes after the last request has ended.
bool InitCameraRequests();
void CleanupCameraRequests();

// GET http://host/path (port 80, or PANTIRO_CAMERA_PORT) with the camera's header lines.
// With readBody set and status 200 the body goes raw into `body`; returns the bytes stored,
// 0 for anything else (no body wanted, another status, any failure, an abort). `outcome`, when
// given, learns how the request ended.
int32_t SendCameraRequest(const std::string& host, const std::string& path, char* body, bool readBody,
                          CameraRequestAbort* abort = nullptr, CameraOutcome* outcome = nullptr);

// A command to the camera, no body wanted: true when the camera took it (answered 2xx) within
// `timeoutMs`.
bool SendCameraCommand(const std::string& host, const std::string& path, CameraRequestAbort* abort = nullptr,
                       long timeoutMs = kCameraExchangeTimeoutMs);

// False for the addresses that stand for "no camera" (empty, 0.0.0.0): nothing is contacted.
bool CameraAddressSet(const std::string& host);
