#pragma once

// For bench_arranque: with QUIMBEL_MEDIR_ARRANQUE set, the process ends the moment its first
// window is on screen, so that the time from its start to its end is the start-up's. Without
// the variable nothing is installed.
namespace MedidaArranque {
void Instalar();
}
