// The slider and thumb controls of the speed table graph.
#pragma once

// Registers "Orvale_DCC_SpeedTableSlide_Window" and then "Orvale_DCC_SpeedTableThumb_Window";
// 0 on success, else the system's error code.
int registerSpeedTableClasses();
