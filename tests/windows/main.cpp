// The Windows test program: the window search, the centring and the process
// services over the real system (run under Wine on the build machines).
#include "windows/check.h"
#include "windows/second_copy.h"

int main() {
    if (avelin::wintest::isSecondCopy())
        return avelin::wintest::runSecondCopy();
    return avelin::wintest::runAll() == 0 ? 0 : 1;
}
