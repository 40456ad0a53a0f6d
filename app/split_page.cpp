// The Split Data page: card data to hotstamp, facility code and version under every format.
#include "app/frm_morvane.h"
#include "ui_frm_morvane.h"

namespace morvane {

void frmMorvane::txtData_Change() {}

void frmMorvane::cmdStart_Click() {}

}  // namespace morvane
