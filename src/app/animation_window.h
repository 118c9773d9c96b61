// The train strip of the version page, a custom control.
#pragma once

// Registers "Orvale_DCC_Animation_Window"; 0 on success, else the system's error code.
int registerAnimationClass();
