// Kolvex: a falling-block puzzle game.
#include "app/application.h"

int main() {
    return runApplication();
}
