#pragma once

#include "StandinStore.h"

#include <string>

namespace kaldor::standin {

// SQLite SQL creating, in schema mt, every table, the view qrb_zv_customiz, the stored
// procedures (as rows of mt.standin_procedure), the page defaults and the login admin/secret.
std::string schemaSql(Dialect d);

} // namespace kaldor::standin
