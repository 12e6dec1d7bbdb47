// Debian's chromium, headless, driven by playwright-core (which never downloads a browser).
// The flags keep it off the network: this machine reaches nothing but its package registries.
import { chromium } from 'playwright-core';

export const chromiumPath = process.env.CASL_CHROMIUM ?? '/usr/bin/chromium';

export function launchChromium() {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}
