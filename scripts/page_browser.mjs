// Headless Chromium for the puzzle page, shared by its screenshots
// (page_screenshots.mjs) and its tests (tests/page): the Debian browser
// driven by puppeteer-core, with nothing that reaches the network (no DNS at
// start-up, no component updates) and a fresh profile.
import { createRequire } from 'node:module';
import path from 'node:path';

export async function launchBrowser(modules) {
  const require = createRequire(path.resolve(modules, 'node_modules', 'x.js'));
  const puppeteer = require('puppeteer-core');
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--host-resolver-rules=MAP * ~NOTFOUND', '--disable-dev-shm-usage', '--disable-gpu',
           '--disable-background-networking', '--disable-breakpad', '--disable-component-update',
           '--no-first-run', '--disable-sync', '--hide-scrollbars', '--mute-audio'],
  });
}

export const LAPTOP = { width: 1280, height: 800 };
export const PHONE = { width: 375, height: 667, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };

// The page at file in a context of its own (its own storage), with every
// request it makes but the file itself kept in requests.
export async function openPage(browser, file, viewport = LAPTOP) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const requests = [];
  const url = 'file://' + path.resolve(file);
  page.on('request', (request) => { if (request.url() !== url) requests.push(request.url()); });
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  await page.setViewport(viewport);
  await page.goto(url, { waitUntil: 'load' });
  return { context, page, requests, errors, url };
}
