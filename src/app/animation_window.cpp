#include "app/animation_window.h"

#include <cstdlib>

#include "app/train_animation.h"
#include "app/window_class.h"
#include "foundation/module_instance.h"

namespace {

struct CarImage {
    HBITMAP bitmap;
    int width;
    int height;
};

struct Train {
    int count;
    CarImage cars[maxCarsPerTrain];
};

// One strip exists at a time; the version page is its only user.
struct Animation {
    CarImage carImages[carBitmapCount];
    Train trains[trainCount];
    TrainRun run;
    RECT strip;
    HDC backBuffer;
    HBITMAP backBitmap;
    HGDIOBJ replacedBitmap;
    HDC carSurface;
    HBRUSH whiteBrush;
    UINT_PTR timer;
    HWND window;
};

Animation animation{};
// Survives the strip, so the slider shows the last speed chosen; never stored.
int animationSpeedIndex = startSpeedIndex;

void startNewTrain() {
    animation.run =
        newTrain(std::rand, animationSpeedIndex, animation.strip.left, animation.strip.right);
}

void drawTrain(HDC target) {
    const CarImage& track = animation.carImages[0];
    HGDIOBJ replacedCarBitmap = SelectObject(animation.carSurface, track.bitmap);
    // A track that failed to load has no width to step by.
    for (int x = 0; track.width > 0 && x < animation.strip.right; x += track.width)
        BitBlt(target, x, animation.strip.bottom - track.height, track.width, track.height,
               animation.carSurface, 0, 0, SRCCOPY);

    const Train& train = animation.trains[animation.run.train];
    int widths[maxCarsPerTrain];
    int lefts[maxCarsPerTrain];
    for (int car = 0; car < train.count; ++car)
        widths[car] = train.cars[car].width;
    placeCars(animation.run, widths, train.count, lefts);
    for (int car = 0; car < train.count; ++car) {
        const CarImage& image = train.cars[car];
        SelectObject(animation.carSurface, image.bitmap);
        BitBlt(target, lefts[car], animation.strip.bottom - track.height - image.height,
               image.width, image.height, animation.carSurface, 0, 0, SRCCOPY);
    }
    SelectObject(animation.carSurface, replacedCarBitmap);

    const int last = train.count - 1;
    if (advanceTrain(animation.run, lefts[last], widths[last], animation.strip.left,
                     animation.strip.right))
        startNewTrain();
}

// One frame: composed in the back buffer, then shown with a single copy so it never flickers.
void step() {
    HDC buffer = animation.backBuffer;
    HGDIOBJ replacedBrush = SelectObject(buffer, animation.whiteBrush);
    PatBlt(buffer, 0, 0, animation.strip.right, animation.strip.bottom, PATCOPY);
    drawTrain(buffer);
    HDC window = GetDC(animation.window);
    BitBlt(window, 0, 0, animation.strip.right, animation.strip.bottom, buffer, 0, 0, SRCCOPY);
    ReleaseDC(animation.window, window);
    SelectObject(buffer, replacedBrush);
}

void CALLBACK stepOnTimer(HWND, UINT, UINT_PTR, DWORD) {
    step();
}

void startTimer() {
    animation.timer =
        SetTimer(nullptr, 0, animationSpeed(animationSpeedIndex).intervalMs, stepOnTimer);
}

void stopTimer() {
    if (animation.timer)
        KillTimer(nullptr, animation.timer);
    animation.timer = 0;
}

CarImage loadCar(const char* name) {
    CarImage image{};
    image.bitmap = LoadBitmapA(moduleInstance(), name);
    BITMAP info{};
    if (image.bitmap && GetObjectA(image.bitmap, sizeof info, &info)) {
        image.width = info.bmWidth;
        image.height = info.bmHeight;
    }
    return image;
}

void setUp(HWND window) {
    for (int car = 0; car < carBitmapCount; ++car)
        animation.carImages[car] = loadCar(carBitmapNames[car]);
    GetClientRect(window, &animation.strip);
    for (int index = 0; index < trainCount; ++index) {
        Train& train = animation.trains[index];
        train.count = 0;
        for (int car = 0; car < maxCarsPerTrain && trainMakeups[index][car]; ++car)
            train.cars[train.count++] = animation.carImages[trainMakeups[index][car]];
    }
    animation.window = window;
    startNewTrain();

    HDC screen = GetDC(window);
    animation.backBuffer = CreateCompatibleDC(screen);
    animation.backBitmap =
        CreateCompatibleBitmap(screen, animation.strip.right, animation.strip.bottom);
    ReleaseDC(window, screen);
    animation.replacedBitmap = SelectObject(animation.backBuffer, animation.backBitmap);
    animation.carSurface = CreateCompatibleDC(animation.backBuffer);
    animation.whiteBrush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

    step();
    startTimer();
}

void tearDown() {
    SelectObject(animation.backBuffer, animation.replacedBitmap);
    stopTimer();
    for (CarImage& image : animation.carImages)
        DeleteObject(image.bitmap);
    DeleteDC(animation.carSurface);
    DeleteDC(animation.backBuffer);
    DeleteObject(animation.backBitmap);
    animation = Animation{};
}

void changeSpeed(LPARAM index) {
    stopTimer();
    animationSpeedIndex = clampSpeedIndex(static_cast<int>(index));
    animation.run.velocity = velocityAtSpeed(animation.run.velocity, animationSpeedIndex);
    startTimer();
}

LRESULT CALLBACK animationProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A second strip would take over the first one's objects: it stays blank instead.
    const bool ours = window == animation.window;
    switch (message) {
    case WM_CREATE:
        if (!animation.window)
            setUp(window);
        return 0;
    case WM_DESTROY:
        if (ours)
            tearDown();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (ours && animation.backBuffer)
            BitBlt(dc, 0, 0, animation.strip.right, animation.strip.bottom, animation.backBuffer, 0,
                   0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    case animationSetSpeed:
        if (ours)
            changeSpeed(lParam);
        return 0;
    case animationGetSpeed:
        return animationSpeedIndex;
    case animationHighestSpeed:
        return highestSpeedIndex;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int registerAnimationClass() {
    return registerControlClass("Orvale_DCC_Animation_Window", animationProcedure,
                                static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void resetAnimationSpeed() {
    animationSpeedIndex = startSpeedIndex;
}

const TrainRun* animatedTrain() {
    return animation.window ? &animation.run : nullptr;
}
