// What the browser tests share: the page's own origin (examples/ served by a small static
// server), the real service with the simulated reader, and headless Chromium.
//
// Environment:
//   ZIR_PROGRAM   the program under test (default: build/linux/bin/zir of this checkout)
//   ZIR_LAUNCHER  a command put before it, split at blanks (e.g. "wine" for the Windows program)
//   CHROMIUM      the browser (default /usr/bin/chromium)
'use strict';

const childProcess = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const https = require('node:https');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const root = path.resolve(__dirname, '..', '..');
const program = process.env.ZIR_PROGRAM || path.join(root, 'build', 'linux', 'bin', 'zir');
const launcher = (process.env.ZIR_LAUNCHER || '').split(' ').filter(Boolean);
const browserPath = process.env.CHROMIUM || '/usr/bin/chromium';

// A port nobody listens on right now.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.unref();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// The page's own origin: examples/ and the client (clients/js/) served by a small static server
// under their paths in the tree, over https when tls ({ key, cert }) is given.
async function startPageServer({ tls } = {}) {
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
                  '.css': 'text/css; charset=utf-8' };
  const folders = ['examples', path.join('clients', 'js')].map((dir) => path.join(root, dir));
  const serve = (request, response) => {
    const file = path.join(root, path.normalize(new URL(request.url, 'http://x').pathname));
    if (!folders.includes(path.dirname(file)) || !types[path.extname(file)] ||
        !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] });
    response.end(fs.readFileSync(file));
  };
  const server = tls ? https.createServer(tls, serve) : http.createServer(serve);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return { server, port, origin: `${tls ? 'https' : 'http'}://127.0.0.1:${port}` };
}

// The real service with the simulated reader, its settings and card file in a folder of its own.
// webOrigins, when given, is written as the settings file's fifth line.
async function startZir(card, { webType = 0, webOrigins = '' } = {}) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zir-browser-'));
  const port = await freePort();
  const cardFile = path.join(dir, 'card.txt');
  const config = path.join(dir, 'zir.INI');
  fs.writeFileSync(cardFile, card);
  fs.writeFileSync(config, `WebPort=${port}\r\nWebType=${webType}\r\nWebCache=0\r\nWebSound=0\r\n` +
                           (webOrigins ? `WebOrigins=${webOrigins}\r\n` : ''));
  const command = [...launcher, program, '--config', config, '--simulate=' + cardFile];
  const child = childProcess.spawn(command[0], command.slice(1), {
    cwd: dir, stdio: ['ignore', 'pipe', 'pipe'],
  });
  let output = '';
  const exited = new Promise((resolve) => child.on('exit', resolve));
  await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('zir did not start:\n' + output)), 30000);
    const look = (chunk) => {
      output += chunk;
      if (output.includes('==SERVER START SUCCESS')) {
        clearTimeout(timer);
        resolve();
      }
    };
    child.stdout.on('data', look);
    child.stderr.on('data', look);
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`zir ended with ${code} before it started:\n${output}`));
    });
  });
  return {
    port,
    writeCard: (text) => fs.writeFileSync(cardFile, text),
    removeCard: () => fs.rmSync(cardFile),
    output: () => output,
    // The number of log lines that begin with start.
    lines: (start) => output.split('\n').filter((line) => line.startsWith(start)).length,
    // The service writes its log apart from its answers: waits up to 5 s for lines still under
    // way, then gives the number there is.
    async waitForLines(start, count) {
      for (let i = 0; i < 100 && this.lines(start) < count; ++i)
        await new Promise((resolve) => setTimeout(resolve, 50));
      return this.lines(start);
    },
    async stop() {
      if (child.exitCode === null && child.signalCode === null) {
        child.kill('SIGTERM');
        const timer = setTimeout(() => child.kill('SIGKILL'), 5000);
        await exited;
        clearTimeout(timer);
      }
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
}

// Headless Chromium with a fresh profile; close() ends it and removes the profile. args: more
// switches, e.g. the address space a page server's port belongs to.
async function startBrowser({ args = [], ignoreHTTPSErrors = false } = {}) {
  // Without the background-networking switches Chromium keeps trying to reach its own
  // services, which a closed network refuses.
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'zir-chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: browserPath,
    headless: true,
    viewport: { width: 820, height: 640 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           ...args],
    ignoreHTTPSErrors,
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(userDataDir, { recursive: true, force: true });
    },
  };
}

// The usual test file's set-up: a page server for each name and a browser, made before its
// tests and ended after them. The returned object has them under those names and "browser"
// once the tests run.
function usePageServersAndBrowser(...names) {
  const { before, after } = require('node:test');
  const setup = { browser: null };
  before(async () => {
    for (const name of names)
      setup[name] = await startPageServer();
    setup.browser = await startBrowser();
  });
  after(async () => {
    if (setup.browser)
      await setup.browser.close();
    for (const name of names) {
      if (setup[name])
        setup[name].server.close();
    }
  });
  return setup;
}

module.exports = { root, freePort, startPageServer, startZir, startBrowser,
                   usePageServersAndBrowser };
