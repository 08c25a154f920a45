#pragma once
// Makes SQLite's own file access inside a sandbox image subject to the image's imitated
// full disk (see WriteFaults).
namespace orvo::os::sandbox {

// Puts the wrapping file layer in front of SQLite's default one; once per process, safe
// to call again.
void InstallSqliteFaults();

}  // namespace orvo::os::sandbox
