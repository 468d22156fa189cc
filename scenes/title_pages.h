// The two pages of the title scene: the controls and the credits, static white
// text over the page background that the title scene has already drawn.
#pragma once

void drawHowToPlayPage();
void drawCreditsPage();
