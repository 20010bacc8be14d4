// The reference page's module: the smallest program the same toolchain
// builds, which puts one line of text on the page.

#include <emscripten.h>

EM_JS(void, ShowGreeting, (), {
    document.getElementById("greeting").textContent = "Hello, world";
    document.body.dataset.readyAt = performance.now();
    document.body.dataset.ready = "true";
});

int main()
{
    ShowGreeting();
    return 0;
}
