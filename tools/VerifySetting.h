#pragma once
// Whether a purge reads its last overwrite back, as the person last confirmed it. It lives
// in the settings store beside the measured speeds: operation files have a fixed format
// and no line for it.

#include <system_error>

namespace vorlane {

// False until the person confirms a purge with the box ticked; a value the store does not
// hold as "1" or "0" is false too.
bool StoredVerifyLastOverwrite();

[[nodiscard]] std::error_code StoreVerifyLastOverwrite(bool verify);

}  // namespace vorlane
