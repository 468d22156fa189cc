// The system's Chromium and the flags every script that drives it uses, for a
// root user on a machine without a network or a GPU.
export const kChromium = '/usr/bin/chromium';
export const kChromiumArgs = [
  '--no-sandbox', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--window-size=1000,800',
  // What browsers do by default for a page never visited: sound only after a gesture.
  '--autoplay-policy=document-user-activation-required',
];
