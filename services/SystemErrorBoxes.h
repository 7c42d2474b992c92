#pragma once

namespace qvn {

// Turns off the boxes the system itself puts up when a call touches a drive
// without a disk in it ("No Disk", "Drive not ready") or a file it cannot
// open. An unattended run has nobody to answer them and would wait for ever;
// with them off, such a call fails at once and says why. Called first thing,
// before anything touches a file, a folder or a drive. Never raises.
void TurnOffSystemErrorBoxes() noexcept;

}  // namespace qvn
