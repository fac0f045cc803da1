// Loads a web page of the framework in Debian's Chromium (headless, fresh profile) from a
// local server and checks it as a user would see it:
//   1. a fresh profile has no settings file yet;
//   2. a screenshot of the canvas taken while the program shows frames FIRST..LAST (counted by
//      presents) is saved for the comparison with the headless picture;
//   3. the frame rate the page shows, over two seconds, and a picture of the whole page;
//   4. a key press ends the program and the page says so, with the settings saved;
//   5. after a reload the page finds the settings file written, and a double click on the
//      display ends the program too.
// Usage: node page_check.mjs URL SCREENSHOT.png RESULT.json FIRST LAST PAGE.png
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";

const [url, screenshotPath, resultPath, firstArg, lastArg, pagePath] = process.argv.slice(2);
const first = Number(firstArg), last = Number(lastArg);
const executablePath = process.env.CHROMIUM || "/usr/bin/chromium";
const flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync",
  "--force-color-profile=srgb", "--force-device-scale-factor=1"];

const fail = (text) => { throw new Error(text); };
const profile = mkdtempSync(join(tmpdir(), "vane-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath, headless: true, args: flags, viewport: { width: 900, height: 1100 },
});
const result = { url };
try {
  const page = context.pages()[0] ?? (await context.newPage());
  const errors = [];
  page.on("pageerror", (e) => errors.push(String(e)));
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });

  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.settings !== undefined, null, { timeout: 30000 });
  result.settingsAtFirstLoad = await page.evaluate(() => document.body.dataset.settings);
  if (result.settingsAtFirstLoad !== "none") fail("a fresh profile found settings: " + result.settingsAtFirstLoad);

  // Presents count the frames shown: the screenshot shows frame presents - 1.
  await page.waitForFunction((n) => (window.Module?.vanePresents ?? 0) >= n, first + 10, { timeout: 30000 });
  const before = await page.evaluate(() => Module.vanePresents);
  // The canvas must lie on whole pixels; otherwise the page resamples it.
  const box = await page.locator("#screen").boundingBox();
  if (!Number.isInteger(box.x) || !Number.isInteger(box.y)) fail(`canvas at ${box.x},${box.y}: not on whole pixels`);
  const shot = await page.screenshot({ path: screenshotPath, clip: box, animations: "allow" });
  const after = await page.evaluate(() => Module.vanePresents);
  result.shownFrames = [before - 1, after - 1];
  if (before - 1 < first || after - 1 > last) fail(`screenshot not within frames ${first}..${last}: ${before - 1}..${after - 1}`);
  result.screenshotBytes = shot.length;

  // The frame rate over two seconds, and what the page itself says.
  const t0 = await page.evaluate(() => [performance.now(), Module.vanePresents]);
  await page.waitForTimeout(2000);
  const t1 = await page.evaluate(() => [performance.now(), Module.vanePresents]);
  result.framesPerSecond = Number(((t1[1] - t0[1]) * 1000 / (t1[0] - t0[0])).toFixed(1));
  result.pageSays = await page.locator("#rate").textContent();
  await page.screenshot({ path: pagePath, fullPage: true });

  await page.keyboard.press("Space");
  await page.waitForFunction(() => document.body.dataset.state === "ended", null, { timeout: 10000 });
  result.ended = await page.locator("#ended").textContent();
  result.exitCode = await page.evaluate(() => document.body.dataset.exitCode);
  result.saved = await page.evaluate(() => document.body.dataset.saved);
  if (!/has ended/.test(result.ended)) fail("the page does not say that the program ended: " + result.ended);
  if (result.exitCode !== "0") fail("exit code " + result.exitCode);
  if (result.saved !== "true") fail("the settings were not saved");
  if (!(await page.locator("#instructions").isHidden())) fail("\"press any key to end\" still shown");

  await page.reload();
  await page.waitForFunction(() => document.body.dataset.settings !== undefined, null, { timeout: 30000 });
  result.settingsAfterReload = await page.evaluate(() => document.body.dataset.settings);
  if (result.settingsAfterReload === "none") fail("the reload found no settings file");
  result.settingsText = await page.locator("#settings").textContent();
  await page.waitForFunction(() => (window.Module?.vanePresents ?? 0) >= 5, null, { timeout: 30000 });
  await page.locator("#screen").dblclick({ position: { x: 240, y: 320 } });
  await page.waitForFunction(() => document.body.dataset.state === "ended", null, { timeout: 10000 });
  result.endedByDoubleClick = true;
  result.pageErrors = errors;
  if (errors.length) fail("page errors: " + errors.join("; "));
  result.ok = true;
} catch (e) {
  result.ok = false;
  result.error = String(e.message ?? e);
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
  writeFileSync(resultPath, JSON.stringify(result, null, 2) + "\n");
}
console.log(JSON.stringify(result, null, 2));
process.exit(result.ok ? 0 : 1);
